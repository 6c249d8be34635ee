#include "Engine/SimpleGameState.h"

#include "Engine/DataFile.h"
#include "Engine/Error.h"
#include "Engine/ResourceType.h"
#include "Engine/Settings.h"
#include "Engine/StartFailure.h"
#include "Engine/Subsystems.h"
#include "Engine/Timer.h"
#include "Engine/UiRootInterface.h"
#include "Support/FakeResource.h"
#include "Support/LuaScript.h"
#include "Support/SdlEventQueue.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace
{

using Log = std::vector<std::string>;

// The interface root of the last state that created one.
class FakeUiRoot : public UiRootInterface
{
public:
    explicit FakeUiRoot(Log& log) : log(log) {}
    ~FakeUiRoot() override { log.push_back("root deleted"); }

    void Update(float stepSeconds) override
    {
        log.push_back("root update " + std::to_string(stepSeconds));
        if (duringUpdate)
            duringUpdate();
        if (updateFails)
            throw Error("root failed");
    }
    void Draw() override { log.push_back("root draw"); }
    bool SetFrameText(const std::string& frame, const std::string& text) override
    {
        if (!frames.count(frame))
            return false;
        texts[frame] = text;
        return true;
    }
    bool SetFrameVisible(const std::string& frame, bool visible) override
    {
        if (!frames.count(frame))
            return false;
        shown[frame] = visible;
        return true;
    }
    Object* AsParent() override { return nullptr; }

    std::map<std::string, bool> frames;
    std::map<std::string, std::string> texts;
    std::map<std::string, bool> shown;
    std::function<void()> duringUpdate;
    bool updateFails = false;

private:
    Log& log;
};

Log* rootLog = nullptr;
FakeUiRoot* lastRoot = nullptr;

UiRootInterface* CreateFakeUiRoot(VideoInterface*, EventDispatcher&, LuaState&)
{
    lastRoot = new FakeUiRoot(*rootLog);
    return lastRoot;
}

class TestState : public Engine::SimpleGameState
{
public:
    TestState(Timer* timer, Log& log, DataStore* parentStore = nullptr)
        : SimpleGameState(timer, nullptr, parentStore, 7), log(log)
    {
    }

    LuaState& Lua() { return lua; }
    DataStore& Store() { return store; }
    bool Quitting() const { return quit; }
    void Quit() { quit = true; }

    // Adds a resource of the fake kind, its load started, to the wait list.
    FakeResource* Await(const std::string& name)
    {
        auto* const resource = dynamic_cast<FakeResource*>(store.AddResource(name, nullptr, Fake));
        waitList.push_back(resource);
        return resource;
    }

    void WaitFor(Resource* resource) { waitList.push_back(resource); }

    void StartLoads()
    {
        for (Resource* const resource : waitList)
            store.GetResource(resource->GetPath(), true);
    }

    static const int Fake = ResourceType::Texture;

    bool updateFails = false;

protected:
    GameState* Update() override
    {
        log.push_back("update");
        if (updateFails)
            throw Error("update failed");
        return this;
    }
    void DrawScene() override { log.push_back("scene"); }

private:
    Log& log;
};

void PushQuitEvent()
{
    SDL_Event event{};
    event.type = SDL_QUIT;
    ASSERT_EQ(0, SDL_PushEvent(&event));
}

class SimpleGameStateTest : public SdlEventQueueTest
{
protected:
    void SetUp() override
    {
        SdlEventQueueTest::SetUp();
        rootLog = &log;
        lastRoot = nullptr;
        CreateFileMutex();
        DataStore::RegisterKind(TestState::Fake, MakeFakeResource);
    }
    void TearDown() override
    {
        DataStore::RegisterKind(TestState::Fake, nullptr);
        DestroyFileMutex();
        Engine::GetSubsystems().createUiRoot = nullptr;
        SdlEventQueueTest::TearDown();
    }

    // A state with an interface root that has the two error frames.
    std::unique_ptr<TestState> StateWithRoot()
    {
        Engine::GetSubsystems().createUiRoot = CreateFakeUiRoot;
        auto state = std::make_unique<TestState>(&timer, log);
        state->Init();
        lastRoot->frames = {{"ErrorMessageText", true}, {"ErrorMessageWindow", true}};
        return state;
    }

    Log log;
    Timer timer{15};
};

TEST_F(SimpleGameStateTest, InitUnpausesTheStateAndPublishesItsProfiler)
{
    TestState state(&timer, log);
    EXPECT_TRUE(state.IsPaused());
    state.Init();
    EXPECT_FALSE(state.IsPaused());
    EXPECT_EQ("table", LuaEval(state.Lua(), "type(Profiler)"));
    EXPECT_EQ("State7", LuaEval(state.Lua(), "Profiler.Title"));
}

TEST_F(SimpleGameStateTest, EachTickUpdatesTheInterfaceOncePerStepThenTheState)
{
    const auto state = StateWithRoot();
    const std::string step = "root update " + std::to_string(StepSeconds);

    // Nothing drawn before the first tick: the state is loading.
    state->Draw();
    EXPECT_TRUE(log.empty());

    // The first tick after loading runs at least one step.
    timer.steps = 0;
    EXPECT_EQ(state.get(), state->Tick());
    EXPECT_EQ((Log{step, "update"}), log);

    log.clear();
    timer.steps = 3;
    EXPECT_EQ(state.get(), state->Tick());
    EXPECT_EQ((Log{step, step, step, "update"}), log);

    log.clear();
    state->Draw();
    EXPECT_EQ((Log{"scene", "root draw"}), log);
}

TEST_F(SimpleGameStateTest, SdlsQuitEventEndsTheStateAtItsTick)
{
    const auto state = StateWithRoot();
    timer.steps = 2;
    PushQuitEvent();
    EXPECT_EQ(nullptr, state->Tick());
    // A state that leaves runs no more scripts: neither the interface nor the
    // state is updated.
    EXPECT_TRUE(log.empty());
}

TEST_F(SimpleGameStateTest, LuaExitSetsTheQuitFlagOfTheBoundState)
{
    TestState state(&timer, log);
    state.Init();
    LuaState& lua = state.Lua();
    lua_newtable(lua.GetState());
    lua.SetThis(&state);
    lua.SetField("Exit", Engine::SimpleGameState::LuaExit);
    lua_setglobal(lua.GetState(), "MainMenu");

    EXPECT_TRUE(EndsWith(LuaFailure(lua, "MainMenu.Exit({})"), "Invalid Lua object!"));
    EXPECT_FALSE(state.Quitting());
    lua.DoString("MainMenu:Exit()");
    EXPECT_TRUE(state.Quitting());
    EXPECT_EQ(nullptr, state.Tick());
}

TEST_F(SimpleGameStateTest, AFailureIsShownInTheErrorWindowAndTheStateGoesOn)
{
    const auto state = StateWithRoot();
    state->updateFails = true;
    testing::internal::CaptureStdout();
    EXPECT_EQ(state.get(), state->Tick());
    EXPECT_EQ(0u, testing::internal::GetCapturedStdout().find("Error: update failed\n"));
    EXPECT_EQ("update failed", lastRoot->texts["ErrorMessageText"]);
    EXPECT_TRUE(lastRoot->shown["ErrorMessageWindow"]);
}

TEST_F(SimpleGameStateTest, AFailureAfterQuitEndsTheState)
{
    const auto state = StateWithRoot();
    // A script of the interface leaves the game, then fails.
    lastRoot->duringUpdate = [&] { state->Quit(); };
    lastRoot->updateFails = true;
    testing::internal::CaptureStdout();
    EXPECT_EQ(nullptr, state->Tick());
    testing::internal::GetCapturedStdout();
}

TEST_F(SimpleGameStateTest, WithoutTheErrorFramesTheFailureIsRethrown)
{
    const std::vector<std::map<std::string, bool>> interfaces = {
        {}, {{"ErrorMessageText", true}}, {{"ErrorMessageWindow", true}}};
    for (const auto& frames : interfaces)
    {
        SCOPED_TRACE(frames.size());
        const auto state = StateWithRoot();
        lastRoot->frames = frames;
        state->updateFails = true;
        testing::internal::CaptureStdout();
        EXPECT_THROW(state->Tick(), Error);
        testing::internal::GetCapturedStdout();
    }

    // No interface at all.
    Engine::GetSubsystems().createUiRoot = nullptr;
    TestState state(&timer, log);
    state.Init();
    const std::runtime_error failure("plain");
    testing::internal::CaptureStdout();
    try
    {
        throw failure;
    }
    catch (const std::exception& e)
    {
        EXPECT_THROW(state.HandleError(e), std::runtime_error);
    }
    testing::internal::GetCapturedStdout();
}

TEST_F(SimpleGameStateTest, AStateWaitsForItsResourcesAndRunsOnceAllAreReady)
{
    DataStore menuStore(nullptr);
    menuStore.AddResource("Data/Menu.png", "MenuFont", TestState::Fake);
    TestState state(&timer, log, &menuStore);
    state.Init();
    EXPECT_NE(nullptr, state.Store().Find("MenuFont", true)); // through the parent

    SDL_sem* const gate = SDL_CreateSemaphore(0);
    FakeResource* const first = state.Await("Data/First.png");
    FakeResource* const second = state.Await("Data/Second.png");
    first->gate = gate;
    state.StartLoads();

    timer.steps = 0;
    for (int tick = 0; tick < 3; ++tick)
        EXPECT_EQ(&state, state.Tick());
    state.Draw();
    EXPECT_TRUE(log.empty());

    // Both become ready before the next tick, which runs at least one step.
    SDL_SemPost(gate);
    ASSERT_TRUE(ProcessUntil(state.Store(), [&] { return first->IsReady() && second->IsReady(); }));
    EXPECT_EQ(&state, state.Tick());
    EXPECT_EQ(Log{"update"}, log);
    EXPECT_EQ(1u, timer.steps);
    SDL_DestroySemaphore(gate);
}

// Ticks until the tick throws; the message and whether the state could not
// start, or "" when no tick threw before a generous deadline.
struct TickFailure
{
    std::string message;
    bool cannotStart = false;
};

TickFailure TickUntilFailure(TestState& state)
{
    const Uint32 end = SDL_GetTicks() + 20000;
    while (SDL_GetTicks() < end)
    {
        try
        {
            EXPECT_EQ(&state, state.Tick());
        }
        catch (const Engine::StartFailure& e)
        {
            return {e.what(), true};
        }
        catch (const std::exception& e)
        {
            return {e.what(), false};
        }
        SDL_Delay(1);
    }
    return {};
}

TEST_F(SimpleGameStateTest, AFailedResourceOnTheWaitListMeansTheStateCannotStart)
{
    TestState state(&timer, log);
    state.Init();
    // Loaded in this order: a failure of a resource it does not wait for is an
    // ordinary one, and the state goes on waiting.
    auto* const extra = dynamic_cast<FakeResource*>(
        state.Store().AddResource("Data/Extra.png", nullptr, TestState::Fake));
    extra->fails = true;
    extra->failure = "extra is broken";
    // The loader thread prints each failure; the state does not report it
    // again: the one who shows it does.
    testing::internal::CaptureStdout();
    state.Store().GetResource("Data/Extra.png", true);
    FakeResource* const broken = state.Await("Data/Broken.png");
    broken->fails = true;
    broken->failure = "cannot decode";
    state.Await("Data/Fine.png");
    state.StartLoads();

    std::vector<TickFailure> failures;
    failures.push_back(TickUntilFailure(state));
    failures.push_back(TickUntilFailure(state));
    EXPECT_EQ("Error: extra is broken\nTypeid: 'std::runtime_error'\n"
              "Error: cannot decode\nTypeid: 'std::runtime_error'\n",
              testing::internal::GetCapturedStdout());
    ASSERT_EQ(2u, failures.size());
    EXPECT_EQ("extra is broken", failures[0].message);
    EXPECT_FALSE(failures[0].cannotStart);
    EXPECT_EQ("cannot decode", failures[1].message);
    EXPECT_TRUE(failures[1].cannotStart);

    // A state that comes to wait for a resource that failed before.
    TestState later(&timer, log, &state.Store());
    later.Init();
    later.WaitFor(broken);
    EXPECT_THROW(later.Tick(), Engine::StartFailure);
    EXPECT_TRUE(log.empty());
}

TEST_F(SimpleGameStateTest, AStateWaitingForAResourceStillQuits)
{
    TestState state(&timer, log);
    state.Init();
    SDL_sem* const gate = SDL_CreateSemaphore(0);
    FakeResource* const slow = state.Await("Data/Slow.png");
    slow->gate = gate;
    state.StartLoads();
    EXPECT_EQ(&state, state.Tick());
    PushQuitEvent();
    EXPECT_EQ(nullptr, state.Tick());
    EXPECT_TRUE(log.empty());
    SDL_SemPost(gate);
    ASSERT_TRUE(ProcessUntil(state.Store(), [&] { return slow->IsReady(); }));
    SDL_DestroySemaphore(gate);
}

} // namespace
