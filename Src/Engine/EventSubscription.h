#pragma once

#include "Engine/EventDispatcher.h"

// One registration of a callback at the back of a dispatcher's list, made by
// Subscribe and taken back by Unsubscribe or the destructor.
class EventSubscription
{
public:
    EventSubscription(EventDispatcher& dispatcher, int type, EventDispatcher::Callback callback,
                      Object* data);
    ~EventSubscription();
    EventSubscription(const EventSubscription&) = delete;
    EventSubscription& operator=(const EventSubscription&) = delete;

    void Subscribe();
    void Unsubscribe();

private:
    bool active = false;
    EventDispatcher& dispatcher;
    const int type;
    const EventDispatcher::Callback callback;
    Object* const data;
};
