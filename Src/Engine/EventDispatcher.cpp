#include "Engine/EventDispatcher.h"

#include "Engine/EventBase.h"
#include "Engine/GameEvents.h"

#include <string>

namespace
{

// Deletes the payload of a user event when its delivery ends, also when a
// handler throws.
class PayloadRelease
{
public:
    explicit PayloadRelease(const SDL_Event& event) : event(event) {}
    ~PayloadRelease();
    PayloadRelease(const PayloadRelease&) = delete;
    PayloadRelease& operator=(const PayloadRelease&) = delete;

private:
    const SDL_Event& event;
};

PayloadRelease::~PayloadRelease()
{
    if (event.type != SDL_USEREVENT)
        return;
    if (event.user.code == UserEventString)
        delete static_cast<std::string*>(event.user.data1);
    else
        delete Event::FromUserEvent(event);
}

} // namespace

EventDispatcher::Delivery::Delivery(EventDispatcher& dispatcher) : dispatcher(dispatcher)
{
    ++dispatcher.deliveries;
}

EventDispatcher::Delivery::~Delivery()
{
    --dispatcher.deliveries;
    dispatcher.Purge();
}

EventDispatcher::EventDispatcher() : profiler("Events") {}

EventDispatcher::~EventDispatcher()
{
    ClearHandlers();
}

void EventDispatcher::AddHandler(int type, Callback callback, Object* data, bool first)
{
    if (!IsHandledType(type))
        return;
    std::list<Handler>& list = handlers[type];
    const Handler handler = {callback, data, false};
    if (first)
        list.push_front(handler);
    else
        list.push_back(handler);
}

void EventDispatcher::RemoveHandler(int type, Callback callback, Object* data)
{
    if (!IsHandledType(type))
        return;
    for (Handler& handler : handlers[type])
    {
        if (handler.callback == callback && handler.data == data)
        {
            handler.removed = true;
            purgePending = true;
        }
    }
    Purge();
}

void EventDispatcher::ClearHandlers()
{
    for (std::list<Handler>& list : handlers)
        for (Handler& handler : list)
            handler.removed = true;
    purgePending = true;
    Purge();
}

void EventDispatcher::Poll()
{
    const Profiler::Scope scope(profiler);
    SDL_Event event;
    while (SDL_PollEvent(&event))
    {
        const PayloadRelease release(event);
        if (IsHandledType(event.type))
            Deliver(event);
    }
}

bool EventDispatcher::QuitRequested()
{
    SDL_PumpEvents();
    // Without SDL's event queue the answer is -1.
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUITMASK) > 0;
}

void EventDispatcher::Deliver(const SDL_Event& event)
{
    const Delivery delivery(*this);
    for (const Handler& handler : handlers[event.type])
        if (!handler.removed && handler.callback(event, handler.data))
            return;
}

void EventDispatcher::Purge()
{
    if (deliveries > 0 || !purgePending)
        return;
    for (std::list<Handler>& list : handlers)
        list.remove_if([](const Handler& handler) { return handler.removed; });
    purgePending = false;
}

bool EventDispatcher::IsHandledType(int type)
{
    return type >= 1 && type < SDL_NUMEVENTS;
}
