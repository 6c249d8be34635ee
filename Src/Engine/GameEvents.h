#pragma once

#include <string>

class Object;
union SDL_Event;

namespace Event
{
class EventBase;
}

// The codes of SDL user events. The first data word is owned by the event: a
// std::string for UserEventString, an Event::EventBase passed as an Object for
// UserEventObject. The second data word is always null.
enum UserEventCode
{
    UserEventString = 0,
    UserEventObject = 1
};

// Pushes an SDL user event; false when SDL's queue cannot take it.
bool PushUserEvent(int code, void* data1, void* data2);

// Pushes a game event. An event that SDL cannot queue is deleted.
void PushEventObject(Event::EventBase* event);

namespace Event
{

// Hands the event to SDL's queue; from then on it belongs to the queue, and
// the dispatcher that delivers it deletes it.
void Send(EventBase* event);

// The game event that an SDL event carries; null for any other event, and for
// a payload that is no game event. The event still owns it.
EventBase* FromUserEvent(const SDL_Event& event);

// The game's events, each newly made; units are known by player number.
EventBase* EnterOrbit(Object* planet);
EventBase* LeaveOrbit();
EventBase* EnterPlanet(Object* planet);
EventBase* LeavePlanet();
EventBase* LeaveSolarSystem();
EventBase* OpenConversation(const std::string& race);
EventBase* UnitCreated(int unit);
EventBase* UnitDestroyed(int unit);
EventBase* UnitHealth(int unit, int health);
EventBase* UnitMaxHealth(int unit, int health);
EventBase* UnitBattery(int unit, int battery);
EventBase* UnitMaxBattery(int unit, int battery);

} // namespace Event
