#include "Engine/GameEvents.h"

#include "Engine/EventDispatcher.h"
#include "Engine/LuaState.h"
#include "Engine/ObjectEvent.h"
#include "Engine/StringEvent.h"
#include "Engine/UnitData.h"
#include "Support/SdlEventQueue.h"

#include <memory>
#include <string>

namespace
{

// Count the objects of their kind alive, so a test sees what was deleted.
int aliveEvents = 0;
int aliveObjects = 0;

struct CountedEvent : Event::EventBase
{
    explicit CountedEvent(const char* name) : EventBase(name) { ++aliveEvents; }
    ~CountedEvent() override { --aliveEvents; }
};

struct CountedObject : Object
{
    CountedObject() { ++aliveObjects; }
    ~CountedObject() override { --aliveObjects; }
};

bool Consume(const SDL_Event&, Object*)
{
    return true;
}

bool Pass(const SDL_Event&, Object*)
{
    return false;
}

using GameEventsTest = SdlEventQueueTest;

TEST_F(GameEventsTest, TheDispatcherDeletesTheEventsItDelivers)
{
    for (const EventDispatcher::Callback handler : {Consume, Pass})
    {
        EventDispatcher dispatcher;
        dispatcher.AddHandler(SDL_USEREVENT, handler, nullptr, false);
        Event::Send(new CountedEvent("UNIT_HEALTH"));
        PushUserEvent(UserEventString, new std::string("text"), nullptr);
        PushUserEvent(UserEventString, nullptr, nullptr);
        ASSERT_EQ(1, aliveEvents);
        dispatcher.Poll();
        EXPECT_EQ(0, aliveEvents) << (handler == Consume ? "consumed" : "not consumed");
    }
}

TEST_F(GameEventsTest, APayloadThatIsNoGameEventIsLeftAlone)
{
    const std::unique_ptr<CountedObject> object(new CountedObject());
    PushUserEvent(UserEventObject, object.get(), nullptr);
    EventDispatcher().Poll();
    EXPECT_EQ(1, aliveObjects);
}

TEST_F(GameEventsTest, EventsThatTheQueueCannotTakeAreDeleted)
{
    // SDL's queue holds fewer than this many events.
    for (int i = 0; i < 300; ++i)
        Event::Send(new CountedEvent("LEAVE_ORBIT"));
    EXPECT_LT(aliveEvents, 300);
    EventDispatcher().Poll();
    EXPECT_EQ(0, aliveEvents);
}

TEST_F(GameEventsTest, HandlersReceiveTheEventAsTheFirstDataWord)
{
    struct Receiver : Object
    {
        static bool OnEvent(const SDL_Event& event, Object* data)
        {
            Receiver* const self = static_cast<Receiver*>(data);
            EXPECT_EQ(UserEventObject, event.user.code);
            EXPECT_EQ(nullptr, event.user.data2);
            const auto* const health = dynamic_cast<Event::UnitData*>(Event::FromUserEvent(event));
            if (health)
                self->seen = health->name + " " + std::to_string(health->unit) + " " +
                             std::to_string(health->value);
            return true;
        }
        std::string seen;
    } receiver;
    EventDispatcher dispatcher;
    dispatcher.AddHandler(SDL_USEREVENT, Receiver::OnEvent, &receiver, false);
    Event::Send(Event::UnitHealth(2, 17));
    dispatcher.Poll();
    EXPECT_EQ("UNIT_HEALTH 2 17", receiver.seen);
}

TEST(GameEventsCarriedTest, OnlyAnObjectEventWithAGameEventCarriesOne)
{
    Event::EventBase gameEvent("LEAVE_ORBIT");
    Object plain;
    std::string text = "text";
    const auto userEvent = [](int code, void* data1)
    {
        SDL_Event event = {};
        event.type = SDL_USEREVENT;
        event.user.code = code;
        event.user.data1 = data1;
        return event;
    };
    SDL_Event keyEvent = userEvent(UserEventObject, static_cast<Object*>(&gameEvent));
    keyEvent.type = SDL_KEYDOWN;
    const struct
    {
        SDL_Event event;
        const Event::EventBase* carried;
    } cases[] = {
        {userEvent(UserEventObject, static_cast<Object*>(&gameEvent)), &gameEvent},
        {userEvent(UserEventObject, &plain), nullptr},
        {userEvent(UserEventObject, nullptr), nullptr},
        {userEvent(UserEventString, &text), nullptr},
        {keyEvent, nullptr},
    };
    for (const auto& test : cases)
        EXPECT_EQ(test.carried, Event::FromUserEvent(test.event));
}

// "arg1" and the fields of "arg2" in key order, as the scripts see them.
std::string LuaArgs(const Event::EventBase& event)
{
    LuaState lua;
    event.SetLuaArgs(lua);
    lua.DoString("local keys = {}\n"
                 "for key in pairs(arg2) do keys[#keys + 1] = key end\n"
                 "table.sort(keys)\n"
                 "local text = arg1\n"
                 "for _, key in ipairs(keys) do\n"
                 "  text = text .. ' ' .. key .. '=' .. type(arg2[key]) .. ':' .. arg2[key]\n"
                 "end\n"
                 "return text",
                 1);
    const std::string text = lua_tostring(lua.GetState(), -1);
    lua_pop(lua.GetState(), 1);
    EXPECT_EQ(0, lua_gettop(lua.GetState()));
    return text;
}

TEST_F(GameEventsTest, TheMakersNameTheEventsAndSetTheirLuaArguments)
{
    Object planet;
    struct Case
    {
        Event::EventBase* event;
        const char* args;
    };
    const Case cases[] = {
        {Event::EnterOrbit(&planet), "ENTER_ORBIT"},
        {Event::LeaveOrbit(), "LEAVE_ORBIT"},
        {Event::EnterPlanet(&planet), "ENTER_PLANET"},
        {Event::LeavePlanet(), "LEAVE_PLANET"},
        {Event::LeaveSolarSystem(), "LEAVE_SOLAR_SYSTEM"},
        {Event::OpenConversation("Velmorian"), "OPEN_CONVERSATION Value=string:Velmorian"},
        {Event::UnitCreated(1), "UNIT_CREATED Unit=number:1"},
        {Event::UnitDestroyed(2), "UNIT_DESTROYED Unit=number:2"},
        {Event::UnitHealth(1, 18), "UNIT_HEALTH Unit=number:1 Value=number:18"},
        {Event::UnitMaxHealth(2, 42), "UNIT_MAXHEALTH Unit=number:2 Value=number:42"},
        {Event::UnitBattery(1, 0), "UNIT_BATTERY Unit=number:1 Value=number:0"},
        {Event::UnitMaxBattery(2, -3), "UNIT_MAXBATTERY Unit=number:2 Value=number:-3"},
    };
    for (const Case& c : cases)
    {
        const std::unique_ptr<Event::EventBase> event(c.event);
        EXPECT_EQ(c.args, LuaArgs(*event));
    }
    const std::unique_ptr<Event::EventBase> orbit(Event::EnterOrbit(&planet));
    EXPECT_EQ(&planet, dynamic_cast<Event::ObjectEvent&>(*orbit).object);
}

TEST_F(GameEventsTest, AStringEventPassesItsTextAsItIs)
{
    EXPECT_EQ("OPEN_CONVERSATION Value=string:50% off\n",
              LuaArgs(Event::StringEvent("OPEN_CONVERSATION", "50% off\n")));
}

} // namespace
