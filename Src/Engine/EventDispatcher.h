#pragma once

#include "Engine/Profiler.h"

#include <SDL.h>
#include <array>
#include <list>

class Object;

// Drains SDL's event queue and offers each event to the handlers registered
// for its type (1 to 31), in list order, until one consumes it; afterwards it
// deletes a user event's payload. Handlers may be added and removed while an
// event is being delivered: a removed handler is offered nothing more.
class EventDispatcher
{
public:
    // Returns true when it consumed the event; `data` is the pointer given at
    // registration.
    using Callback = bool (*)(const SDL_Event& event, Object* data);

    EventDispatcher();
    ~EventDispatcher();
    EventDispatcher(const EventDispatcher&) = delete;
    EventDispatcher& operator=(const EventDispatcher&) = delete;

    // Puts the handler at the front of the type's list when `first` holds,
    // else at the back. A type outside 1 to 31 is ignored.
    void AddHandler(int type, Callback callback, Object* data, bool first);
    // Removes every registration of the callback with the data for the type.
    void RemoveHandler(int type, Callback callback, Object* data);
    void ClearHandlers();

    // Delivers every event in SDL's queue, also those pushed meanwhile.
    void Poll();

    // True when a quit request waits in SDL's queue, after the window's
    // pending events have been read into it; the request stays there.
    static bool QuitRequested();

private:
    struct Handler
    {
        Callback callback;
        Object* data;
        bool removed;
    };

    // Counts the deliveries under way; handlers removed meanwhile are purged
    // when the outermost one ends.
    class Delivery
    {
    public:
        explicit Delivery(EventDispatcher& dispatcher);
        ~Delivery();
        Delivery(const Delivery&) = delete;
        Delivery& operator=(const Delivery&) = delete;

    private:
        EventDispatcher& dispatcher;
    };

    void Deliver(const SDL_Event& event);
    void Purge();
    static bool IsHandledType(int type);

    std::array<std::list<Handler>, SDL_NUMEVENTS> handlers;
    Profiler profiler;
    int deliveries = 0;
    bool purgePending = false;
};
