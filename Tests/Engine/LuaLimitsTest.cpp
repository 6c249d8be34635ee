#include "Engine/LuaLimits.h"

#include "Engine/DataFile.h"
#include "Engine/LuaState.h"
#include "Platform/TerminationSignals.h"
#include "Support/Capture.h"
#include "Support/LuaScript.h"
#include "Support/SdlEventQueue.h"
#include "Support/TempDirectory.h"

#include <SDL.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace
{

using std::chrono::milliseconds;

const std::size_t SmallMemory = std::size_t(4) << 20;

TEST(LuaLimitsTest, AScriptPastTheMemoryCapFailsAndTheStateGoesOn)
{
    LuaState lua(SmallMemory);
    const LuaLimits& limits = LuaLimits::Of(lua.GetState());
    const char* const scripts[] = {
        "local s = 'x' while true do s = s .. s end",
        "local t = {} for i = 1, 1e9 do t[i] = i end",
        "local t = {} while true do t[#t + 1] = {} end",
        "local t = {} for i = 1, 1e9 do t['key' .. i] = true end",
    };
    for (const char* const script : scripts)
    {
        EXPECT_EQ("Lua error: luaL_dostring error: 1: not enough memory", LuaFailure(lua, script))
            << script;
        EXPECT_LE(limits.MemoryInUse(), SmallMemory);
    }
    // The garbage went with the call, and the next one has room.
    EXPECT_LT(limits.MemoryInUse(), SmallMemory / 4);
    EXPECT_EQ("no error", LuaFailure(lua, "local t = {} for i = 1, 1e4 do t[i] = {} end"));
}

class LuaTimeLimitTest : public ::testing::Test
{
protected:
    LuaTimeLimitTest() { lua.Register("Run", LuaRun); }

    // A limit short enough for the tests; the scripts that meet it never end.
    LuaState lua{LuaLimits::DefaultMemoryBytes, milliseconds(50)};
};

TEST_F(LuaTimeLimitTest, ACallThatRunsTooLongIsStoppedWithAnErrorNamingIt)
{
    lua.DoString("function Spin() while true do end end");
    struct Case
    {
        const char* script;
        const char* ending;
    };
    const Case cases[] = {
        {"while true do end",
         "[string \"while true do end\"]:1: [string \"while true do end\"] ran longer than 50 ms "
         "and was stopped"},
        // The place where it ran, then the call.
        {"Spin()",
         "[string \"function Spin() while true do end end\"]:1: [string \"Spin()\"] ran longer "
         "than 50 ms and was stopped"},
        // Catching the error does not keep it going.
        {"while true do pcall(Spin) end", "[string \"while true do pcall(Spin) end\"] ran longer"
                                          " than 50 ms and was stopped"},
        {"while true do coroutine.resume(coroutine.create(Spin)) end",
         "ran longer than 50 ms and was stopped"},
        {"coroutine.wrap(Spin)()", "ran longer than 50 ms and was stopped"},
        // A string run from inside the call counts as part of it.
        {"Run('Spin()')", "[string \"Run('Spin()')\"] ran longer than 50 ms and was stopped"},
    };
    for (const Case& c : cases)
    {
        const std::string failure = LuaFailure(lua, c.script);
        EXPECT_TRUE(EndsWith(failure, c.ending)) << failure;
        // The next call has its own time.
        EXPECT_EQ("2", LuaEval(lua, "1 + 1"));
    }
    EXPECT_EQ(0, lua_gettop(lua.GetState()));
}

// Called in protected mode on its one argument.
int CallArgument(lua_State* L)
{
    const LuaLimits::Call call(L, 0);
    lua_call(L, 0, 0);
    return 0;
}

TEST_F(LuaTimeLimitTest, ACallOfWhatIsNoFunctionFailsOrIsTimedAsAScript)
{
    const struct
    {
        const char* value;
        const char* ending;
    } cases[] = {
        {"7", "attempt to call a number value"},
        {"setmetatable({}, {__call = function() while true do end end})",
         "A script ran longer than 50 ms and was stopped"},
    };
    lua_State* const L = lua.GetState();
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.value);
        lua.DoString(std::string("Value = ") + c.value);
        lua_pushcfunction(L, CallArgument);
        lua_getglobal(L, "Value");
        ASSERT_NE(0, lua_pcall(L, 1, 0, 0));
        const std::string failure = lua_tostring(L, -1);
        lua_pop(L, 1);
        EXPECT_TRUE(EndsWith(failure, c.ending)) << failure;
    }
    EXPECT_EQ(0, lua_gettop(L));
}

TEST_F(LuaTimeLimitTest, AScriptFileThatNeverEndsIsStopped)
{
    const TempDirectory directory;
    CreateFileMutex();
    WriteTextFile("Scripts/loop.lua", "Started = true\nwhile true do end");
    EXPECT_EQ("Lua error: [string \"Scripts/loop.lua\"]:2: [string \"Scripts/loop.lua\"] ran "
              "longer than 50 ms and was stopped",
              ErrorOf([&] { lua.RunFile("Scripts/loop.lua"); }));
    DestroyFileMutex();
    EXPECT_EQ("true", LuaEval(lua, "Started"));
}

class LuaQuitTest : public SdlEventQueueTest
{
};

TEST_F(LuaQuitTest, AQuitRequestStopsEveryLongScriptOfTheState)
{
    // Far beyond the test's patience: only the quit request ends these loops.
    LuaState lua(LuaLimits::DefaultMemoryBytes, std::chrono::minutes(2));
    const std::string stopped = "[string \"while true do end\"] was stopped: the game is quitting";
    EXPECT_EQ("no error", LuaFailure(lua, "for i = 1, 1e5 do end"));

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(0, SDL_PushEvent(&quit));
    EXPECT_TRUE(EndsWith(LuaFailure(lua, "while true do end"), stopped));
    // The request stays in the queue for the game's own handler.
    SDL_Event event;
    ASSERT_EQ(1, SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_QUITMASK));

    // Once seen, it stops every script that runs long, and the short ones go on.
    EXPECT_TRUE(EndsWith(LuaFailure(lua, "while true do end"), stopped));
    EXPECT_EQ("2", LuaEval(lua, "1 + 1"));
}

// In a child process of its own, as the request cannot be taken back: the
// exit status says whether the endless script was stopped.
[[noreturn]] void RunAfterTerminationSignal()
{
    Platform::CatchTerminationSignals();
    // Long enough that only the request stops the loop in time.
    LuaState lua(LuaLimits::DefaultMemoryBytes, std::chrono::seconds(10));
    std::raise(SIGTERM);
    const std::string failure = LuaFailure(lua, "while true do end");
    std::fprintf(stderr, "%s\n", failure.c_str());
    std::exit(EndsWith(failure, "was stopped: the game is quitting") ? 0 : 1);
}

TEST(LuaLimitsTest, ATerminationSignalStopsALongScriptAsAQuitRequestDoes)
{
    EXPECT_EXIT(RunAfterTerminationSignal(), ::testing::ExitedWithCode(0), "");
}

} // namespace
