#include "Engine/GameEvents.h"

#include "Engine/ObjectEvent.h"
#include "Engine/StringEvent.h"
#include "Engine/UnitData.h"

#include <SDL.h>

bool PushUserEvent(int code, void* data1, void* data2)
{
    SDL_Event event = {};
    event.type = SDL_USEREVENT;
    event.user.code = code;
    event.user.data1 = data1;
    event.user.data2 = data2;
    return SDL_PushEvent(&event) == 0;
}

void PushEventObject(Event::EventBase* event)
{
    if (!PushUserEvent(UserEventObject, static_cast<Object*>(event), nullptr))
        delete event;
}

namespace Event
{

void Send(EventBase* event)
{
    PushEventObject(event);
}

EventBase* FromUserEvent(const SDL_Event& event)
{
    if (event.type != SDL_USEREVENT || event.user.code != UserEventObject)
        return nullptr;
    return dynamic_cast<EventBase*>(static_cast<Object*>(event.user.data1));
}

EventBase* EnterOrbit(Object* planet)
{
    return new ObjectEvent("ENTER_ORBIT", planet);
}

EventBase* LeaveOrbit()
{
    return new EventBase("LEAVE_ORBIT");
}

EventBase* EnterPlanet(Object* planet)
{
    return new ObjectEvent("ENTER_PLANET", planet);
}

EventBase* LeavePlanet()
{
    return new EventBase("LEAVE_PLANET");
}

EventBase* LeaveSolarSystem()
{
    return new EventBase("LEAVE_SOLAR_SYSTEM");
}

EventBase* OpenConversation(const std::string& race)
{
    return new StringEvent("OPEN_CONVERSATION", race);
}

EventBase* UnitCreated(int unit)
{
    return new UnitInfo("UNIT_CREATED", unit);
}

EventBase* UnitDestroyed(int unit)
{
    return new UnitInfo("UNIT_DESTROYED", unit);
}

EventBase* UnitHealth(int unit, int health)
{
    return new UnitData("UNIT_HEALTH", unit, health);
}

EventBase* UnitMaxHealth(int unit, int health)
{
    return new UnitData("UNIT_MAXHEALTH", unit, health);
}

EventBase* UnitBattery(int unit, int battery)
{
    return new UnitData("UNIT_BATTERY", unit, battery);
}

EventBase* UnitMaxBattery(int unit, int battery)
{
    return new UnitData("UNIT_MAXBATTERY", unit, battery);
}

} // namespace Event
