#include "Game/Solar/SolarSystemState.h"

#include "Audio/Audio.h"
#include "Audio/Music.h"
#include "Engine/DataFile.h"
#include "Engine/EventBase.h"
#include "Engine/GameEvents.h"
#include "Engine/Settings.h"
#include "Engine/StringEvent.h"
#include "Engine/Subsystems.h"
#include "Engine/Timer.h"
#include "Game/Objects/PlayerController.h"
#include "Game/Objects/ShipModelData.h"
#include "Game/Objects/ThrustBehavior.h"
#include "Game/Solar/Communication.h"
#include "Game/Solar/MotherShipModel.h"
#include "Game/Solar/SolarPlanetModel.h"
#include "Graphics/Camera.h"
#include "Graphics/Font.h"
#include "Graphics/CubeMap.h"
#include "Graphics/Graph.h"
#include "Support/Capture.h"
#include "Support/EventCounter.h"
#include "Support/FakeObjects.h"
#include "Support/FileMutexGuard.h"
#include "Support/IdleResources.h"
#include "Support/LuaScript.h"
#include "Support/ReadyResources.h"
#include "Support/SdlEventQueue.h"
#include "Support/Sounds.h"
#include "Support/TempDirectory.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

class IdleCubeMap : public CubeMap
{
public:
    using CubeMap::CubeMap;
    void Load() override {}
    void Finish() override {}
};

// A font that measures and draws nothing.
class IdleFont : public Font
{
public:
    using Font::Font;
    void Load() override {}
    float Draw(float, float, float, const PreRender*) override { return 0; }
    void GetTextSize(const std::string&, int& width, int& height) const override
    {
        width = height = 0;
    }
    int GetLineHeight() const override { return 12; }
    PreRender* CreatePreRender(const std::string&) const override { return nullptr; }
    void DeletePreRender(PreRender*) const override {}
};

// The data of the state: the table of the conversations, which counts the
// conversations opened, its frames and a conversation that waits for a
// choice.
const char* const SolarData = R"(<SolarSystemData>
    <lua file='Solar.lua'/>
    <resource type='Alias' file='Talk.xml' name='CommanderComm'/>
    <resource type='Alias' file='Shared.xml' name='CommunicationData'/>
    <ui><frame name='CommunicationFrame' visible='false'>
        <frame name='CommunicationWindow'/></frame></ui>
</SolarSystemData>)";
const char* const SolarScript = R"(
    Opened = 0
    Communication = {}
    function Communication:HideOptions() end
    function Communication:ShowOptions() end
)";
const char* const Talk = R"(<communication label='greeting'>
    <ui><text name='$ParentText' font='Font'/></ui>
    <option label='end'>Goodbye</option>
    <communication label='end'><exit/></communication>
</communication>)";
const char* const Shared = "<Communication><script>Opened = Opened + 1 "
                           "Communication:Goto('greeting')</script></Communication>";

// The names of the game events the state's dispatcher delivers, and the
// texts of those that carry one.
struct EventLog : Object
{
    static bool Note(const SDL_Event& event, Object* data)
    {
        if (const Event::EventBase* const base = Event::FromUserEvent(event))
        {
            static_cast<EventLog*>(data)->names.push_back(base->name);
            if (const auto* text = dynamic_cast<const Event::StringEvent*>(base))
                static_cast<EventLog*>(data)->texts.push_back(text->value);
        }
        return false;
    }

    int Count(const std::string& name) const
    {
        return static_cast<int>(std::count(names.begin(), names.end(), name));
    }

    std::vector<std::string> names;
    std::vector<std::string> texts;
};

class TestSolarSystem : public SolarSystemState
{
public:
    using SolarSystemState::conversation;
    using SolarSystemState::music;
    using SolarSystemState::objects;
    using SolarSystemState::parkedObjects;
    using SolarSystemState::quit;
    using SolarSystemState::SolarSystemState;

    // One frame of the given steps, after the events of the last one.
    void Frame(Timer& timer, unsigned steps)
    {
        events.Poll();
        timer.steps = steps;
        timer.frameMs = 20;
        Update();
    }

    EventDispatcher& Events() { return events; }
    LuaState& Lua() { return lua; }
    Camera& GetCamera() { return *static_cast<Camera*>(store.GetPointer("Camera", true)); }
};

// Headless: the state is initialised and updated, never drawn. Its models,
// texture and sky stand ready in the store of the menu below it.
class SolarSystemStateTest : public SdlEventQueueTest
{
protected:
    void SetUp() override
    {
        SdlEventQueueTest::SetUp();
        Engine::RegisterSubsystems();
        Settings::SetDefaults();
        graph.width = 640;
        graph.height = 480;
        for (const char* name : {"MotherShip", "Planet"})
            PublishReady(menuStore, new IdleModel(menuStore, name));
        PublishReady(menuStore, new IdleTexture("RedParticle"));
        PublishReady(menuStore, new IdleCubeMap("SolarSky"));
        PublishReady(menuStore, new IdleFont("Font"));
        WriteTextFile("Data/Root.xml", SolarData);
        WriteTextFile("Data/Solar.lua", SolarScript);
        WriteTextFile("Data/Talk.xml", Talk);
        WriteTextFile("Data/Shared.xml", Shared);
        Start();
    }

    void TearDown() override
    {
        state.reset();
        SdlEventQueueTest::TearDown();
    }

    void Start()
    {
        state.reset();
        state = std::make_unique<TestSolarSystem>(&timer, &graph, &menuStore);
        state->Init();
        state->Events().AddHandler(SDL_USEREVENT, EventLog::Note, &log, false);
        // The planets join one per step.
        for (int i = 0; i < 10; ++i)
            state->Frame(timer, 1);
    }

    MotherShipModel& Ship() const
    {
        for (ControllerInterface* object : state->objects)
        {
            if (auto* ship = dynamic_cast<MotherShipModel*>(object->GetModel()))
                return *ship;
        }
        throw std::runtime_error("no mother ship");
    }

    std::vector<SolarPlanetModel*> Bodies() const
    {
        std::vector<SolarPlanetModel*> bodies;
        for (ControllerInterface* object : state->objects)
        {
            if (auto* body = dynamic_cast<SolarPlanetModel*>(object->GetModel()))
                bodies.push_back(body);
        }
        return bodies;
    }

    // Puts the ship on the body: the next step touches it.
    void Touch(const SolarPlanetModel& body)
    {
        Ship().SetPosition(body.GetX(), body.GetY());
        Ship().SetVelocity(0, 0);
    }

    // Places the ship 23 units from the centre where it is farthest from
    // every body.
    void ClearOfBodies()
    {
        float bestX = 0, bestY = 0, bestGap = -1;
        for (int degrees = 0; degrees < 360; degrees += 10)
        {
            const float x = 23 * std::cos(degrees * 0.0174533f);
            const float y = 23 * std::sin(degrees * 0.0174533f);
            float gap = 1e9f;
            for (const SolarPlanetModel* body : Bodies())
                gap = std::min(gap, std::hypot(body->GetX() - x, body->GetY() - y) -
                                        body->GetRadius());
            if (gap > bestGap)
            {
                bestGap = gap;
                bestX = x;
                bestY = y;
            }
        }
        ASSERT_GT(bestGap, 3.0f);
        Clear(bestX, bestY);
    }

    void Clear(float x, float y)
    {
        Ship().SetPosition(x, y);
        Ship().SetVelocity(0, 0);
    }

    FileMutexGuard fileMutex;
    TempDirectory directory;
    Timer timer{15};
    Graph graph;
    DataStore menuStore{nullptr};
    EventLog log;
    std::unique_ptr<TestSolarSystem> state;
};

TEST_F(SolarSystemStateTest, TheShipStartsBelowTheSystemUnderTheCamera)
{
    EXPECT_EQ(5u, Bodies().size());
    EXPECT_EQ(0, state->GetOnPlanet());
    EXPECT_EQ(90.0f, Ship().GetDisplayAngle());
    EXPECT_NEAR(-30.0f, Ship().GetY(), 1e-4f);
    EXPECT_EQ("table", LuaEval(state->Lua(), "type(PlayerData)"));
    const Camera& camera = state->GetCamera();
    EXPECT_EQ(70.0f, camera.distance);
    EXPECT_EQ(-60.0f, camera.pitch);
    EXPECT_EQ(70.0f, camera.GetCurrentDistance());
    // One exhaust stream, also in a second game.
    EXPECT_EQ(1u, Ship().GetExhaust()->GetEngines().size());
    Start();
    EXPECT_EQ(1u, Ship().GetExhaust()->GetEngines().size());
}

TEST_F(SolarSystemStateTest, TouchingAPlanetOpensItsViewAndLeavingRestoresTheParkedShip)
{
    SolarPlanetModel& planet = *Bodies().at(1);
    Touch(planet);
    // Three steps in contact raise one event, which the next frame delivers.
    state->Frame(timer, 3);
    state->Frame(timer, 0);
    EXPECT_EQ(1, log.Count("ENTER_PLANET"));
    // The contact put the parked ship on the planet, raised and stopped.
    ASSERT_FALSE(state->parkedObjects.empty());
    const auto* parked = dynamic_cast<MotherShipModel*>(state->parkedObjects.front()->GetModel());
    ASSERT_NE(nullptr, parked);
    EXPECT_NEAR(planet.GetX(), parked->GetX(), 0.01f);
    EXPECT_EQ(0.0f, parked->GetVelocityX());
    EXPECT_EQ(1, state->GetOnPlanet());
    EXPECT_EQ(0.0f, state->GetCamera().pitch);

    // The new ship starts 20 units out, facing the centre; the planet's four
    // moons join around the enlarged planet.
    const float heading = parked->GetDisplayAngle();
    const float parkedX = parked->GetX();
    EXPECT_NEAR(20.0f, std::hypot(Ship().GetX(), Ship().GetY()), 1e-3f);
    EXPECT_EQ(heading, Ship().GetDisplayAngle());
    for (int i = 0; i < 6; ++i)
        state->Frame(timer, 1);
    const std::vector<SolarPlanetModel*> bodies = Bodies();
    ASSERT_EQ(5u, bodies.size());
    EXPECT_FLOAT_EQ(planet.GetRadius() * 4, bodies[0]->GetRadius());

    // Beyond 25 units the view is left; the parked ship flies on from where
    // it waited, with the heading of the ship that left.
    Ship().TurnTo(10);
    Clear(0, 25.5f);
    state->Frame(timer, 1);
    EXPECT_EQ(0.0f, Ship().GetVelocityX());
    state->Frame(timer, 0);
    EXPECT_LE(1, log.Count("LEAVE_PLANET"));
    EXPECT_EQ(0, state->GetOnPlanet());
    EXPECT_TRUE(state->parkedObjects.empty());
    EXPECT_EQ(parked, &Ship());
    EXPECT_EQ(parkedX, Ship().GetX());
    EXPECT_EQ(10.0f, Ship().GetDisplayAngle());
    EXPECT_EQ(5u, Bodies().size());
    EXPECT_EQ(-60.0f, state->GetCamera().pitch);
}

TEST_F(SolarSystemStateTest, TheParkedShipIsDeafToTheKeysUntilItFliesAgain)
{
    auto& player = dynamic_cast<PlayerController&>(*state->objects.front());
    const auto thrustHeld = [&]
    {
        PushKey(SDL_KEYDOWN, SDLK_UP);
        state->Events().Poll();
        const bool held = player.GetKeyHandler().down[PlayerController::ThrustKey];
        PushKey(SDL_KEYUP, SDLK_UP);
        state->Events().Poll();
        return held;
    };
    EXPECT_TRUE(thrustHeld());
    Touch(*Bodies().at(0));
    state->Frame(timer, 1);
    state->Frame(timer, 0);
    ASSERT_EQ(1, state->GetOnPlanet());
    EXPECT_FALSE(thrustHeld());
    Clear(30, 0);
    state->Frame(timer, 1);
    state->Frame(timer, 0);
    ASSERT_EQ(0, state->GetOnPlanet());
    EXPECT_TRUE(thrustHeld());
}

TEST_F(SolarSystemStateTest, BeyondTheSystemsEdgeTheShipStopsAtEveryStep)
{
    Clear(0, -35.5f);
    Ship().SetVelocity(0, -1);
    state->Frame(timer, 3);
    state->Frame(timer, 0);
    EXPECT_EQ(3, log.Count("LEAVE_SOLAR_SYSTEM"));
    EXPECT_EQ(0.0f, Ship().GetVelocityY());
    EXPECT_EQ(0, state->GetOnPlanet());
    Clear(0, -34);
    state->Frame(timer, 2);
    state->Frame(timer, 0);
    EXPECT_EQ(3, log.Count("LEAVE_SOLAR_SYSTEM"));
}

TEST_F(SolarSystemStateTest, AnOrbitOpensTheConversationOnceAndAgainOnlyAfterFiveStepsApart)
{
    Touch(*Bodies().at(1));
    state->Frame(timer, 1);
    state->Frame(timer, 0);
    ASSERT_EQ(1, state->GetOnPlanet());
    state->Frame(timer, 8);
    SolarPlanetModel& moon = *Bodies().at(1);
    Touch(moon);
    state->Frame(timer, 1);
    state->Frame(timer, 0);
    EXPECT_EQ(1, log.Count("ENTER_ORBIT"));
    ASSERT_NE(nullptr, state->conversation);
    EXPECT_EQ("1", LuaEval(state->Lua(), "Opened"));
    // The world stands still while it runs.
    const float x = moon.GetX();
    state->Frame(timer, 5);
    EXPECT_EQ(x, moon.GetX());
    state->Lua().DoString("Communication:Select(1)");
    state->Frame(timer, 0);
    EXPECT_EQ(nullptr, state->conversation);
    state->Frame(timer, 0);
    EXPECT_EQ(1, log.Count("LEAVE_ORBIT"));

    // Staying in contact opens nothing. The guard clears in the fifth step
    // without contact, which may be the step of the next contact.
    const auto stepsAway = [&](int steps)
    {
        ClearOfBodies();
        state->Frame(timer, static_cast<unsigned>(steps));
        Touch(moon);
        state->Frame(timer, 1);
        state->Frame(timer, 0);
    };
    Touch(moon);
    state->Frame(timer, 6);
    state->Frame(timer, 0);
    EXPECT_EQ(1, log.Count("ENTER_ORBIT"));
    stepsAway(3);
    EXPECT_EQ(1, log.Count("ENTER_ORBIT"));
    stepsAway(4);
    EXPECT_EQ(2, log.Count("ENTER_ORBIT"));
    EXPECT_EQ("2", LuaEval(state->Lua(), "Opened"));
}

TEST_F(SolarSystemStateTest, ASecondRequestLeavesTheOpenConversation)
{
    Event::Send(Event::OpenConversation("Velmorian"));
    state->Frame(timer, 0);
    Communication* const open = state->conversation.get();
    ASSERT_NE(nullptr, open);
    Event::Send(Event::OpenConversation("Other"));
    state->Frame(timer, 0);
    EXPECT_EQ(open, state->conversation.get());
    EXPECT_EQ("1", LuaEval(state->Lua(), "Opened"));
}

TEST_F(SolarSystemStateTest, AFailingConversationClosesAndItsErrorGoesOn)
{
    state->Lua().DoString("function Communication:ShowOptions() error('no buttons') end");
    Event::Send(Event::OpenConversation("Velmorian"));
    std::string message = "no error";
    try
    {
        state->Frame(timer, 0);
    }
    catch (const std::exception& e)
    {
        message = e.what();
    }
    EXPECT_NE(std::string::npos, message.find("no buttons")) << message;
    EXPECT_EQ(nullptr, state->conversation);
    state->Frame(timer, 0);
    EXPECT_EQ(1, log.Count("LEAVE_ORBIT"));
}

TEST_F(SolarSystemStateTest, EscapeLeavesTheStateAndIsTakenOtherKeysPassOn)
{
    EventCounter counter;
    state->Events().AddHandler(SDL_KEYDOWN, EventCounter::Count, &counter, false);
    PushKey(SDL_KEYDOWN, SDLK_a);
    state->Events().Poll();
    EXPECT_EQ(1, counter.events);
    EXPECT_FALSE(state->quit);
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    state->Events().Poll();
    EXPECT_EQ(1, counter.events);
    EXPECT_TRUE(state->quit);
}

TEST_F(SolarSystemStateTest, HoldingXStopsTheShip)
{
    Clear(0, -30);
    Ship().SetVelocity(1, 0);
    PushKey(SDL_KEYDOWN, SDLK_x);
    state->Frame(timer, 1);
    EXPECT_EQ(0.0f, Ship().GetVelocityX());
    PushKey(SDL_KEYUP, SDLK_x);
    PushKey(SDL_KEYDOWN, SDLK_UP);
    state->Frame(timer, 1);
    EXPECT_LT(0.0f, Ship().GetVelocityY());
}

// Called directly: nothing in the system calls it.
TEST_F(SolarSystemStateTest, TouchingAShipAsksOnceForAConversationWithItsRace)
{
    const ShipModel::Data data("MotherShip", "Zelnari", "Scout");
    ShipModel other(data, menuStore);
    MotherShipModel& ship = Ship();
    const auto contact = [&](EntityModel& body)
    {
        ship.SetVelocity(2, 1);
        ship.OnShipContact(body);
        state->Events().Poll();
    };
    const auto steps = [&](int count)
    {
        for (int i = 0; i < count; ++i)
            ship.Update();
    };

    contact(other);
    EXPECT_EQ(std::vector<std::string>{"Zelnari"}, log.texts);
    EXPECT_EQ(0.0f, ship.GetVelocityX());
    EXPECT_EQ(0.0f, ship.GetVelocityY());
    // While the contacts go on, four steps apart, the guard holds.
    contact(other);
    steps(4);
    contact(other);
    steps(4);
    contact(other);
    EXPECT_EQ(1, log.Count("OPEN_CONVERSATION"));
    EXPECT_EQ(2.0f, ship.GetVelocityX());
    // Five steps without contact clear it.
    steps(5);
    contact(other);
    EXPECT_EQ(2, log.Count("OPEN_CONVERSATION"));

    // A body that is no ship only sets the guard.
    steps(5);
    contact(*Bodies().at(0));
    EXPECT_EQ(2, log.Count("OPEN_CONVERSATION"));
    EXPECT_EQ(2.0f, ship.GetVelocityX());
    contact(other);
    EXPECT_EQ(2, log.Count("OPEN_CONVERSATION"));
}

// The parked objects join the end of the world, which is deleted from its
// back.
TEST_F(SolarSystemStateTest, TheWorldIsDeletedFromItsBack)
{
    std::vector<std::string> deleted;
    const auto add = [&deleted](ObjectFactoryInterface::ObjectList& list, const char* name)
    { list.push_back(new ControllerInterface(new FakeModel(name, deleted), nullptr)); };
    add(state->objects, "first");
    add(state->objects, "second");
    add(state->parkedObjects, "parked");
    state.reset();
    EXPECT_EQ((std::vector<std::string>{"parked deleted", "second deleted", "first deleted"}),
              deleted);
}

TEST_F(SolarSystemStateTest, ACameraPublishedAlreadyIsAnInternalError)
{
    PublishReady(menuStore, new IdleTexture("Camera"));
    const std::string message = ErrorOf([this] { Start(); });
    EXPECT_EQ("Internal error, the resource 'Camera' is published already", message);
}

TEST_F(SolarSystemStateTest, ResumingPlaysTheStatesMusicWhenItHasOne)
{
    Audio audio;
    int frequency = SoundFrequency;
    int chunkSize = 1024;
    int outputChannels = 2;
    int mixChannels = 8;
    audio.Init(frequency, chunkSize, outputChannels, mixChannels, false);
    WriteWav("theme.wav", {{3001, 30 * SoundFrequency}});
    Music theme("theme.wav");
    theme.Load();
    ASSERT_TRUE(theme.IsLoaded());

    state->OnResume();
    EXPECT_EQ(nullptr, Music::GetCurrent());
    state->music = &theme;
    state->OnResume();
    EXPECT_EQ(&theme, Music::GetCurrent());
    EXPECT_TRUE(theme.IsPlaying());
    state->music = nullptr;
}

} // namespace
