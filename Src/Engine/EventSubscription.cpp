#include "Engine/EventSubscription.h"

EventSubscription::EventSubscription(EventDispatcher& dispatcher, int type,
                                     EventDispatcher::Callback callback, Object* data)
    : dispatcher(dispatcher), type(type), callback(callback), data(data)
{
}

EventSubscription::~EventSubscription()
{
    Unsubscribe();
}

void EventSubscription::Subscribe()
{
    if (active)
        return;
    dispatcher.AddHandler(type, callback, data, false);
    active = true;
}

void EventSubscription::Unsubscribe()
{
    if (!active)
        return;
    dispatcher.RemoveHandler(type, callback, data);
    active = false;
}
