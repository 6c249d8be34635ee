#include "Engine/Profiler.h"

#include "Engine/LuaState.h"
#include "Support/LuaScript.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace
{

double now = 0;

double FakeClock()
{
    return now;
}

// Runs every test on a clock that moves only when the test says so.
class ProfilerTest : public ::testing::Test
{
protected:
    ProfilerTest() : previous(Profiler::SetClock(FakeClock)) { now = 0; }
    ~ProfilerTest() override { Profiler::SetClock(previous); }

    const Profiler::Clock previous;
};

TEST_F(ProfilerTest, AProfilerStartedInsideAnotherBecomesItsChild)
{
    Profiler main("Main");
    Profiler tick("Tick");
    Profiler events("Events");
    {
        const Profiler::Scope outer(main);
        now = 1;
        {
            const Profiler::Scope inner(tick);
            now = 2;
            const Profiler::Scope innermost(events);
            now = 4;
        }
        now = 7;
    }
    EXPECT_EQ(&main, tick.GetParent());
    EXPECT_EQ(&tick, events.GetParent());
    EXPECT_EQ(1u, main.GetChildren().size());
    EXPECT_EQ(7, main.GetTime());
    EXPECT_EQ(3, tick.GetTime());
    EXPECT_EQ(2, events.GetTime());

    // Started alone later, a child starts its parents too.
    {
        const Profiler::Scope inner(events);
        now = 8;
    }
    EXPECT_EQ(8, main.GetTime());
    EXPECT_EQ(4, tick.GetTime());
    EXPECT_EQ(3, events.GetTime());
}

TEST_F(ProfilerTest, AProfilerStartedTwiceTimesFromItsFirstStartToItsLastStop)
{
    Profiler profiler("Twice");
    profiler.Start();
    now = 1;
    profiler.Start();
    now = 2;
    profiler.Stop();
    EXPECT_EQ(0, profiler.GetTime());
    now = 5;
    profiler.Stop();
    EXPECT_EQ(5, profiler.GetTime());
    profiler.Stop(); // unmatched: ignored
    EXPECT_EQ(5, profiler.GetTime());
}

TEST_F(ProfilerTest, AdoptionMovesTheProfilerAndMarksBothParentsDirty)
{
    LuaState lua;
    Profiler first("First");
    Profiler second("Second");
    Profiler moving("Moving");
    first.PublishNames(lua);
    second.PublishNames(lua);
    ASSERT_FALSE(first.NamesDirty());

    {
        const Profiler::Scope outer(first);
        const Profiler::Scope inner(moving);
    }
    EXPECT_TRUE(first.NamesDirty());
    first.PublishNames(lua);
    {
        const Profiler::Scope outer(second);
        const Profiler::Scope inner(moving);
    }
    EXPECT_EQ(&second, moving.GetParent());
    EXPECT_TRUE(first.NamesDirty());
    EXPECT_TRUE(second.NamesDirty());
    EXPECT_TRUE(first.GetChildren().empty());
}

TEST_F(ProfilerTest, ResetTimesEndsThePeriodOfTheWholeSubtree)
{
    Profiler main("Main");
    Profiler child("Child");
    main.AddChild(&child);
    {
        const Profiler::Scope scope(child);
        now = 3;
    }
    main.ResetTimes();
    EXPECT_EQ(3, main.GetLastTime());
    EXPECT_EQ(3, child.GetLastTime());
    EXPECT_EQ(0, main.GetTime());
    EXPECT_EQ(0, child.GetTime());
}

TEST_F(ProfilerTest, DestroyingAProfilerDetachesItFromTheTree)
{
    Profiler main("Main");
    auto middle = std::make_unique<Profiler>("Middle");
    Profiler leaf("Leaf");
    main.AddChild(middle.get());
    middle->AddChild(&leaf);
    middle.reset();
    EXPECT_TRUE(main.GetChildren().empty());
    EXPECT_EQ(nullptr, leaf.GetParent());
}

// A state's profiler inside "Main" with the children "Tick" and "Draw", its
// Lua table registered, after one frame of 8 seconds (Tick 6, Draw 2).
class ProfilerLuaTest : public ProfilerTest
{
protected:
    ProfilerLuaTest()
    {
        main.AddChild(&state);
        state.AddChild(&tick);
        state.AddChild(&draw);
        lua.DoString("hookCalls = 0\n"
                     "function Profiler_UpdateNames()\n"
                     "  hookCalls = hookCalls + 1\n"
                     "  hookTitle = Profiler.Title\n"
                     "end");
        state.RegisterLua(lua);
        Frame(6, 2);
    }

    void Frame(double tickSeconds, double drawSeconds)
    {
        const Profiler::Scope frame(main);
        const Profiler::Scope stateScope(state);
        {
            const Profiler::Scope scope(tick);
            now += tickSeconds;
        }
        const Profiler::Scope scope(draw);
        now += drawSeconds;
    }

    // Publishes the finished frame as the game state's tick does.
    void Publish()
    {
        main.ResetTimes();
        state.UpdateLua(lua);
        ASSERT_EQ(0, lua_gettop(lua.GetState()));
    }

    std::string Eval(const std::string& expression) { return LuaEval(lua, expression); }

    // Title, LastTime and the children's shares and names.
    std::string Table()
    {
        return Eval("Profiler.Title .. ' ' .. Profiler.LastTime .. ' ' .. "
                    "table.concat({Profiler.Name[0], Profiler.Time[0], "
                    "Profiler.Name[1], Profiler.Time[1]}, ' ')");
    }

    Profiler main{"Main"};
    Profiler state{"State"};
    Profiler tick{"Tick"};
    Profiler draw{"Draw"};
    LuaState lua;
};

TEST_F(ProfilerLuaTest, PublishesTheViewedNodesTimeAndItsChildrensShares)
{
    EXPECT_EQ("State 0", Eval("Profiler.Title .. ' ' .. Profiler.LastTime"));
    EXPECT_EQ("Tick Draw", Eval("Profiler.Name[0] .. ' ' .. Profiler.Name[1]"));
    Publish();
    EXPECT_EQ("State 8 Tick 75 Draw 25", Table());
    EXPECT_EQ(0, main.GetLastTime()) << "the tree's times are reset after publishing";
}

TEST_F(ProfilerLuaTest, OpenAndCloseMoveTheView)
{
    Publish();
    struct Case
    {
        const char* script;
        const char* title;
    };
    const Case cases[] = {
        {"Profiler:Close()", "Main"},
        {"Profiler:Close()", "Main"}, // the root has no parent
        {"Profiler:Open(0)", "State"},
        {"Profiler:Open(1)", "Draw"},
        {"Profiler:Open(0)", "State"}, // a node without children: acts as Close
        {"Profiler:Open(2)", "Main"},  // beyond the last child
        {"Profiler:Open(0) Profiler:Open(-1)", "Main"},
    };
    for (const Case& c : cases)
    {
        lua.DoString(c.script);
        EXPECT_EQ(c.title, Eval("Profiler.Title .. ''")) << c.script;
        EXPECT_EQ(c.title, Eval("hookTitle")) << c.script;
    }
    EXPECT_EQ("9", Eval("hookCalls")); // registration, then each Open and Close
}

TEST_F(ProfilerLuaTest, OpenChecksItsArgumentAndItsObject)
{
    struct Case
    {
        const char* script;
        const char* message;
    };
    const Case cases[] = {
        {"Profiler:Open()", "Too few arguments, 1 required"},
        {"Profiler.Open({}, 0)", "Invalid Lua object!"},
        {"Profiler.Close({})", "Invalid Lua object!"},
    };
    for (const Case& c : cases)
    {
        const std::string message = LuaFailure(lua, c.script);
        EXPECT_TRUE(EndsWith(message, c.message)) << message;
    }
}

TEST_F(ProfilerLuaTest, ANewChildOfTheViewedNodeIsPublishedWithItsName)
{
    Profiler scene("Scene");
    Publish();
    lua.DoString("Profiler:Open(1)");
    {
        const Profiler::Scope frame(draw);
        const Profiler::Scope scope(scene);
        now += 1;
    }
    Publish();
    EXPECT_EQ("Scene", Eval("Profiler.Name[0]"));
    EXPECT_EQ("100", Eval("Profiler.Time[0]"));
    EXPECT_EQ("3", Eval("hookCalls")); // registration, Open, the new child
}

TEST_F(ProfilerLuaTest, AHiddenProfilerLeavesTheTableAndTheTimesAsTheyWere)
{
    Publish();
    Profiler scene("Scene");
    state.AddChild(&scene);
    Frame(1, 3);
    state.hidden = true;
    state.UpdateLua(lua);
    EXPECT_EQ("State 8 Tick 75 Draw 25", Table());
    EXPECT_EQ("nil", Eval("Profiler.Name[2]"));
    EXPECT_EQ("1", Eval("hookCalls"));
    EXPECT_EQ(4, main.GetTime()) << "no times are reset";

    state.hidden = false;
    Publish();
    EXPECT_EQ("State 4 Tick 25 Draw 75", Table());
    EXPECT_EQ("Scene", Eval("Profiler.Name[2]"));
    EXPECT_EQ("2", Eval("hookCalls"));
}

TEST_F(ProfilerLuaTest, PushChildNamesFillsTheTableOnTopWithTheViewedNodesChildren)
{
    lua_State* const L = lua.GetState();
    lua.DoString("names = {[0] = 'a', 'b', 'c', 'd'}");
    lua_getglobal(L, "names");
    state.PushChildNames(lua);
    lua_pop(L, 1);
    EXPECT_TRUE(state.NamesDirty());
    EXPECT_EQ("Tick Draw nil nil", Eval("table.concat({names[0], names[1], tostring(names[2]), "
                                        "tostring(names[3])}, ' ')"));
}

TEST_F(ProfilerLuaTest, AChildThatLeavesTheViewedNodeLeavesItsNameAndShare)
{
    auto scene = std::make_unique<Profiler>("Scene");
    state.AddChild(scene.get());
    Frame(1, 1);
    Publish();
    ASSERT_EQ("Scene 0", Eval("Profiler.Name[2] .. ' ' .. Profiler.Time[2]"));
    scene.reset();
    Frame(1, 1);
    Publish();
    EXPECT_EQ("State 2 Tick 50 Draw 50", Table());
    EXPECT_EQ("nil nil", Eval("tostring(Profiler.Name[2]) .. ' ' .. tostring(Profiler.Time[2])"));
    EXPECT_EQ("3", Eval("hookCalls")); // registration, each change of the children
}

TEST_F(ProfilerLuaTest, DestroyingTheViewedNodeReturnsTheView)
{
    auto scene = std::make_unique<Profiler>("Scene");
    draw.AddChild(scene.get());
    lua.DoString("Profiler:Open(1) Profiler:Open(0)");
    ASSERT_EQ("Scene", Eval("Profiler.Title"));
    scene.reset();
    Publish();
    EXPECT_EQ("State 8 Tick 75 Draw 25", Table());
}

TEST_F(ProfilerLuaTest, ScriptsThatBreakTheTableOrTheHookBreakNothing)
{
    const char* const scripts[] = {
        "function Profiler_UpdateNames() error('hook failed') end",
        "Profiler_UpdateNames = nil",
        "Profiler.Time = 5",
        "Profiler.Time = nil",
        "Profiler = 5",
    };
    for (const char* const script : scripts)
    {
        lua.DoString(script);
        Frame(1, 1);
        Publish();
        lua.DoString("if type(Profiler) == 'table' and Profiler.Open then Profiler:Open(0) end");
        EXPECT_EQ(0, lua_gettop(lua.GetState())) << script;
    }
}

} // namespace
