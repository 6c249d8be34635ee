#include "Engine/GameStateManager.h"

#include "Engine/Error.h"
#include "Engine/GameState.h"
#include "Engine/Profiler.h"
#include "Engine/StartFailure.h"
#include "Engine/Timer.h"
#include "Engine/VideoInterface.h"

#include <deque>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

using Log = std::vector<std::string>;

class FakeVideo : public VideoInterface
{
public:
    explicit FakeVideo(Log& log) : log(log) {}
    void SetFullScreen(bool) override {}
    void SetVSync(bool) override {}
    void Init(int, int, int) override {}
    void ClearVideoModes() override {}
    void BeginFrame() override { log.push_back("begin frame"); }
    void EndFrame() override { log.push_back("end frame"); }

private:
    Log& log;
};

// A state that logs what happens to it. Each tick takes the next scripted
// action; with none left it stays.
class FakeState : public Engine::GameState
{
public:
    enum Action
    {
        Stay,
        Leave,
        PushChild,
        Fail,
        CannotStart
    };

    FakeState(Timer* timer, const std::string& name, Log& log)
        : GameState(timer, 1), name(name), log(log)
    {
    }
    ~FakeState() override { log.push_back(name + " deleted"); }

    void Init() override
    {
        log.push_back(name + " init");
        if (initFails)
            throw Error(name + " failed");
        SetPaused(false);
    }
    void OnResume() override { log.push_back(name + " resumed"); }
    GameState* Tick() override
    {
        log.push_back(name + " tick");
        const Action action = actions.empty() ? Stay : actions.front();
        if (!actions.empty())
            actions.pop_front();
        switch (action)
        {
        case Leave:
            return nullptr;
        case PushChild:
            return child;
        case Fail:
            throw Error(name + " failed");
        case CannotStart:
            throw Engine::StartFailure(name + " cannot start");
        default:
            return this;
        }
    }
    void Draw() override
    {
        log.push_back(name + " draw");
        if (drawFails)
            throw Error(name + " failed");
    }
    void HandleError(const std::exception& e) override
    {
        log.push_back(name + " shows " + e.what());
        if (!showsErrors)
            throw;
    }

    std::deque<Action> actions;
    FakeState* child = nullptr;
    bool initFails = false;
    bool drawFails = false;
    bool showsErrors = true;

private:
    const std::string name;
    Log& log;
};

// A stack of its own: a menu and a game above it, both initialised, logging
// into a log of their own.
struct MenuAndGame
{
    MenuAndGame(Timer& timer, Profiler& profiler)
        : video(log), manager(&timer, &video, &profiler), menu(new FakeState(&timer, "menu", log)),
          game(new FakeState(&timer, "game", log))
    {
        manager.Push(menu, true);
        manager.Push(game, true);
        log.clear();
    }

    Log log;
    FakeVideo video;
    GameStateManager manager;
    FakeState* const menu;
    FakeState* const game;
};

class GameStateManagerTest : public ::testing::Test
{
protected:
    GameStateManagerTest() : manager(&timer, &video, &mainProfiler) {}

    // Pushes an initialised state.
    FakeState* Push(const std::string& name)
    {
        auto* state = new FakeState(&timer, name, log);
        manager.Push(state, true);
        return state;
    }

    FakeState* MakeState(const std::string& name) { return new FakeState(&timer, name, log); }

    // Runs the call and keeps what it logs.
    template <class Call>
    Log Record(Call call)
    {
        log.clear();
        call();
        return log;
    }

    Log log;
    Timer timer{15};
    FakeVideo video{log};
    Profiler mainProfiler{"Main"};
    GameStateManager manager;
};

TEST_F(GameStateManagerTest, TheTopStateDecidesWhatTheTickDoes)
{
    struct Case
    {
        const char* name;
        FakeState::Action action;
        bool childInitFails;
        Log expected;
        int ticked;
    };
    const Case cases[] = {
        {"stays", FakeState::Stay, false, {"game tick"}, 1},
        {"leaves: the menu is ticked in the same frame",
         FakeState::Leave,
         false,
         {"game tick", "game deleted", "menu tick"},
         2},
        {"pushes a state, which is ticked in the same frame",
         FakeState::PushChild,
         false,
         {"game tick", "mode init", "mode tick"},
         2},
        {"pushes a state whose Init fails: shown, and the game is ticked once more",
         FakeState::PushChild,
         true,
         {"game tick", "mode init", "game shows mode failed", "mode deleted", "game tick"},
         2},
        {"fails: shown, the state stays",
         FakeState::Fail,
         false,
         {"game tick", "game shows game failed"},
         1},
        {"cannot start: like a failed Init, the menu shows it and is ticked in the same frame",
         FakeState::CannotStart,
         false,
         {"game tick", "menu shows game cannot start", "game deleted", "menu tick"},
         2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        MenuAndGame stack(timer, mainProfiler);
        auto* const mode = new FakeState(&timer, "mode", stack.log);
        stack.game->actions = {c.action};
        stack.game->child = mode;
        mode->initFails = c.childInitFails;

        EXPECT_EQ(c.ticked, stack.manager.Tick());
        EXPECT_EQ(c.expected, stack.log);
        EXPECT_FALSE(timer.IsPaused());
        if (c.action != FakeState::PushChild)
            delete mode;
    }
}

TEST_F(GameStateManagerTest, ANewStateGoesAboveItsCreatorAndCoversIt)
{
    FakeState* const menu = Push("menu");
    FakeState* const game = MakeState("game");
    menu->actions = {FakeState::PushChild};
    menu->child = game;
    manager.Tick();

    EXPECT_TRUE(game->IsInitialised());
    EXPECT_EQ((Log{"begin frame", "game draw", "end frame"}), Record([&] { manager.Draw(); }));
    EXPECT_EQ(3, manager.GetCount()); // two ticked, one drawn

    game->actions = {FakeState::Leave};
    EXPECT_EQ((Log{"game tick", "game deleted", "menu tick"}), Record([&] { manager.Tick(); }));
}

TEST_F(GameStateManagerTest, AStateThatCannotShowItsFailureLeavesAndTheFailureGoesOn)
{
    struct Case
    {
        const char* name;
        bool tickFails;
        Log expected;
    };
    const Case cases[] = {
        {"in its tick", true, {"game tick", "game shows game failed", "game deleted"}},
        {"in its draw",
         false,
         {"begin frame", "game draw", "game shows game failed", "game deleted"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        MenuAndGame stack(timer, mainProfiler);
        stack.game->showsErrors = false;
        stack.game->actions = {FakeState::Fail};
        stack.game->drawFails = !c.tickFails;

        try
        {
            if (c.tickFails)
                stack.manager.Tick();
            else
                stack.manager.Draw();
            ADD_FAILURE() << "no failure";
        }
        catch (const Error& e)
        {
            EXPECT_STREQ("game failed", e.what());
        }
        EXPECT_EQ(c.expected, stack.log);

        stack.log.clear();
        stack.manager.Tick();
        EXPECT_EQ(Log{"menu tick"}, stack.log);
    }
}

// The failure of the new state goes on unchanged, and the stack with it.
TEST_F(GameStateManagerTest, ACreatorThatCannotShowTheFailedInitOfItsNewStateLetsTheFailureGoOn)
{
    FakeState* const menu = Push("menu");
    FakeState* const game = MakeState("game");
    menu->actions = {FakeState::PushChild};
    menu->child = game;
    menu->showsErrors = false;
    game->initFails = true;

    log.clear();
    EXPECT_THROW(manager.Tick(), Error);
    EXPECT_EQ((Log{"menu tick", "game init", "menu shows game failed", "game deleted"}), log);
    EXPECT_FALSE(timer.IsPaused());
    EXPECT_EQ((Log{"menu tick"}), Record([&] { manager.Tick(); }));
}

// As when the first state's Init fails, main shows it and the process ends.
TEST_F(GameStateManagerTest, AFirstStateThatCannotStartLeavesAndTheFailureGoesOn)
{
    FakeState* const menu = Push("menu");
    menu->actions = {FakeState::CannotStart};
    log.clear();
    try
    {
        manager.Tick();
        ADD_FAILURE() << "no failure";
    }
    catch (const Error& e)
    {
        EXPECT_STREQ("menu cannot start", e.what());
    }
    EXPECT_EQ((Log{"menu tick", "menu deleted"}), log);
    EXPECT_EQ(0, manager.Tick());
}

TEST_F(GameStateManagerTest, PausedStatesArePassedOverAndNonBlockingStatesShowWhatIsBelow)
{
    FakeState* const menu = Push("menu");
    FakeState* const middle = Push("middle");
    FakeState* const top = Push("top");
    top->SetBlocksTick(false);
    top->SetBlocksDraw(false);
    middle->SetPaused(true);

    EXPECT_EQ((Log{"top tick", "menu tick"}), Record([&] { manager.Tick(); }));
    EXPECT_EQ((Log{"begin frame", "menu draw", "top draw", "end frame"}),
              Record([&] { manager.Draw(); }));
    EXPECT_EQ(4, manager.GetCount());

    // Unpausing an initialised state resumes it.
    EXPECT_EQ(Log{"middle resumed"}, Record([&] { middle->SetPaused(false); }));
    menu->SetPaused(true);
    EXPECT_EQ((Log{"begin frame", "middle draw", "top draw", "end frame"}),
              Record([&] { manager.Draw(); }));
}

TEST_F(GameStateManagerTest, AStateWhoseInitFailsIsNotPushed)
{
    FakeState* const state = MakeState("menu");
    state->initFails = true;
    EXPECT_EQ((Log{"menu init", "menu deleted"}),
              Record([&] { EXPECT_THROW(manager.Push(state, true), Error); }));
    EXPECT_EQ(0, manager.GetCount());
    EXPECT_EQ((Log{"begin frame", "end frame"}), Record([&] { manager.Draw(); }));
}

// As when the player ends the game with a signal in a game mode: the next
// frame ticks and draws nothing, which ends the frame loop.
TEST_F(GameStateManagerTest, LeavingAllRemovesEveryStateFromTheTopDown)
{
    MenuAndGame stack(timer, mainProfiler);
    stack.manager.LeaveAll();
    EXPECT_EQ((Log{"game deleted", "menu deleted"}), stack.log);
    EXPECT_EQ(0, stack.manager.Tick());
    EXPECT_EQ(0, stack.manager.Draw());
    EXPECT_EQ(0, stack.manager.GetCount());
}

TEST_F(GameStateManagerTest, TheManagerDeletesTheStatesLeftOnIt)
{
    Log stateLog;
    {
        GameStateManager stack(&timer, &video, &mainProfiler);
        stack.Push(new FakeState(&timer, "menu", stateLog), true);
        stack.Push(new FakeState(&timer, "game", stateLog), false);
    }
    EXPECT_EQ((Log{"menu init", "game deleted", "menu deleted"}), stateLog);
}

} // namespace
