#include "Engine/LuaState.h"

#include "Engine/Error.h"
#include "Engine/LuaDebug.h"
#include "Support/LuaScript.h"
#include "Support/TempDirectory.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace
{

struct Counter : Object
{
    int total = 0;
};

struct Stranger : Object
{
};

// Counter:Add(n)
int LuaAdd(lua_State* L)
{
    LuaCheckArgs(L, 1);
    LuaState::GetThis<Counter>(L)->total += static_cast<int>(lua_tointeger(L, 2));
    return 0;
}

// Raise(message): raises the message through LuaError.
int LuaRaise(lua_State* L)
{
    LuaError(L, lua_tostring(L, 1));
}

// Throw(message): throws it as Error.
int LuaThrow(lua_State* L)
{
    throw Error("native: ", lua_tostring(L, 1));
}

class LuaStateTest : public ::testing::Test
{
protected:
    LuaStateTest()
    {
        lua.Register("Raise", LuaRaise);
        lua.Register("Throw", LuaThrow);
        lua.Register("Run", LuaRun);
        Bind("Counter", &counter);
        Bind("Stranger", &stranger);
    }

    void Bind(const char* name, Object* object)
    {
        lua_newtable(L);
        lua.SetThis(object);
        lua.SetField("Add", LuaAdd);
        lua_setglobal(L, name);
    }

    std::string Eval(const std::string& expression) { return LuaEval(lua, expression); }
    std::string Failure(const std::string& text) { return LuaFailure(lua, text); }

    LuaState lua;
    lua_State* const L = lua.GetState();
    Counter counter;
    Stranger stranger;
};

TEST_F(LuaStateTest, OpensOnlyTheSafeLibraries)
{
    struct Case
    {
        const char* global;
        const char* type;
    };
    const Case cases[] = {
        {"coroutine", "table"},   {"string", "table"},   {"table", "table"},
        {"math", "table"},        {"print", "function"}, {"GetGlobal", "function"},
        {"GetFrame", "function"}, {"io", "nil"},         {"os", "nil"},
        {"package", "nil"},       {"debug", "nil"},      {"require", "nil"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.type, Eval(std::string("type(") + c.global + ")")) << c.global;
    EXPECT_EQ(0, lua_gettop(L));
}

TEST_F(LuaStateTest, AFailingStringThrowsLuaErrorWithLuasMessage)
{
    struct Case
    {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"x = = 1", "Lua error: luaL_dostring error: 1: [string \"x = = 1\"]:1: unexpected symbol"},
        {"error('boom')", "Lua error: luaL_dostring error: 1: [string \"error('boom')\"]:1: boom"},
        {"local t = nil\nreturn t.x",
         "Lua error: luaL_dostring error: 1: [string \"local t = nil...\"]:2: attempt to index"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(0u, Failure(c.text).rfind(c.message, 0)) << Failure(c.text);
}

TEST_F(LuaStateTest, RunsScriptFilesAndReportsTheirFailures)
{
    const TempDirectory directory;
    WriteTextFile("Scripts/good.lua", "greeting = 'hello'\nreturn 1, 2");
    WriteTextFile("Scripts/empty.lua", "");
    WriteTextFile("Scripts/bad.lua", "x = = 1");
    WriteTextFile("Scripts/fail.lua", "local x = 1\nerror('boom ' .. x)");
    lua.RunFile("Scripts/good.lua");
    lua.RunFile("Scripts/empty.lua");
    EXPECT_EQ("hello", Eval("greeting"));
    EXPECT_EQ(0, lua_gettop(L));

    struct Case
    {
        const char* file;
        const char* message;
    };
    const Case cases[] = {
        {"Scripts/missing.lua", "Can't open file 'Scripts/missing.lua'"},
        {"Scripts/bad.lua",
         "Lua error: [string \"Scripts/bad.lua\"]:1: unexpected symbol near '='"},
        {"Scripts/fail.lua", "Lua error: [string \"Scripts/fail.lua\"]:2: boom 1"},
    };
    for (const Case& c : cases)
    {
        try
        {
            lua.RunFile(c.file);
            ADD_FAILURE() << c.file;
        }
        catch (const Error& e)
        {
            EXPECT_STREQ(c.message, e.what());
        }
        EXPECT_EQ(0, lua_gettop(L));
    }
}

TEST_F(LuaStateTest, BoundMethodsCheckTheirArgumentsAndTheirObject)
{
    struct Case
    {
        const char* call;
        const char* message;
    };
    const Case cases[] = {
        {"Counter:Add()", "Too few arguments, 1 required"},
        {"Counter.Add(5)", "Too few arguments, 1 required"},
        {"Counter.Add(5, 6)", "Invalid Lua object!"},
        {"Stranger:Add(1)", "Invalid Lua object!"},
        {"local t = {Add = Counter.Add}\nt:Add(1)", "Invalid Lua object!"},
        {"local t = {Add = Counter.Add, __this = newproxy()}\nt:Add(1)", "Invalid Lua object!"},
        {"local t = {Add = Counter.Add, __this = 'Counter'}\nt:Add(1)", "Invalid Lua object!"},
    };
    for (const Case& c : cases)
    {
        const std::string message = Failure(c.call);
        // The message names the script line that made the call.
        EXPECT_NE(std::string::npos, message.find("\"]:"));
        EXPECT_TRUE(EndsWith(message, c.message)) << message;
    }
    lua.DoString("Counter:Add(2) Counter:Add(3)");
    EXPECT_EQ(5, counter.total);
}

TEST_F(LuaStateTest, LuaErrorTakesTheMessageAsItStands)
{
    EXPECT_EQ("Lua error: luaL_dostring error: 1: [string \"Raise('100% %d %s')\"]:1: 100% %d %s",
              Failure("Raise('100% %d %s')"));
}

TEST_F(LuaStateTest, AnExceptionInANativeFunctionFailsTheCallingScript)
{
    lua.DoString("ok, message = pcall(Throw, 'bad data') after = 'went on'");
    EXPECT_EQ("false native: bad data went on",
              Eval("ok") + " " + Eval("message") + " " + Eval("after"));
    EXPECT_EQ("Lua error: luaL_dostring error: 1: [string \"Throw('x')\"]:1: native: x",
              Failure("Throw('x')"));
}

TEST_F(LuaStateTest, AStringRunFromANativeFunctionFailsTheCallingScript)
{
    lua.DoString("ok, message = pcall(Run, \"error('inner')\")");
    EXPECT_EQ("false", Eval("ok"));
    const std::string message = Eval("message");
    EXPECT_EQ(0u, message.find("luaL_dostring error: 1: [string \"error('inner')\"]:1: inner"))
        << message;

    // Outside every protected call the failure is an Error again.
    EXPECT_EQ(0u,
              Failure("Run(\"error('inner')\")").rfind("Lua error: luaL_dostring error: 1: ", 0));
    EXPECT_EQ(0u, Failure("error('outer')").rfind("Lua error: luaL_dostring error: 1: ", 0));
}

TEST_F(LuaStateTest, CallsLeaveTheStackAsTheyFoundIt)
{
    for (int i = 0; i < 1000; ++i)
    {
        EXPECT_THROW(lua.DoString("error('again')"), Error);
        EXPECT_THROW(lua.DoString("Counter:Add()"), Error);
        EXPECT_THROW(lua.DoString("Throw('again')"), Error);
        EXPECT_FALSE(lua.TryDoString("x = = 1"));
        lua.DoString("pcall(Run, 'error()')");
        lua.DoString("return 1, 2, 3");
        ASSERT_EQ(0, lua_gettop(L)) << "after " << i << " rounds";
    }
    EXPECT_TRUE(lua.TryDoString("return 1"));
    EXPECT_EQ(0, lua_gettop(L));
}

TEST_F(LuaStateTest, DoStringLeavesTheResultsItIsAskedFor)
{
    EXPECT_EQ(3, lua.DoString("return 1, 2, 3", LUA_MULTRET));
    EXPECT_EQ(3, lua_tointeger(L, -1));
    lua_settop(L, 0);
    EXPECT_EQ(0, lua.DoString("x = 1", LUA_MULTRET));
    EXPECT_EQ(2, lua.DoString("return 7", 2));
    EXPECT_EQ(7, lua_tointeger(L, -2));
    EXPECT_TRUE(lua_isnil(L, -1));
}

TEST_F(LuaStateTest, AnErrorOutsideEveryProtectedCallThrows)
{
    lua_getglobal(L, "error");
    lua_pushstring(L, "unprotected");
    try
    {
        lua_call(L, 1, 0);
        FAIL() << "no error";
    }
    catch (const Error& e)
    {
        EXPECT_STREQ("Lua error: unprotected", e.what());
    }
    EXPECT_EQ("2", Eval("1 + 1"));
}

TEST_F(LuaStateTest, ABorrowedWrapperLeavesTheStateOpen)
{
    {
        LuaState borrowed(L);
        EXPECT_EQ(L, borrowed.GetState());
        borrowed.DoString("seen = true");
    }
    EXPECT_EQ("true", Eval("seen"));
}

TEST_F(LuaStateTest, GetGlobalAndGetFrameFindTheGlobalNamedByTheLastArgument)
{
    lua.DoString("MainFrame = {} number = 5 _G['5'] = 'five'");
    struct Case
    {
        const char* call;
        const char* result;
    };
    const Case cases[] = {
        {"GetFrame('MainFrame') == MainFrame", "true"},
        {"GetGlobal('MainFrame') == MainFrame", "true"},
        {"GetFrame('Missing')", "nil"},
        {"GetFrame('Missing', 'number')", "5"},
        {"GetFrame()", "nil"},
        // A number stands for its text, as everywhere in Lua.
        {"GetFrame(5)", "five"},
        {"GetGlobal(5)", "five"},
        {"GetFrame({})", "nil"},
        {"GetFrame(true)", "nil"},
        {"GetGlobal('number', nil)", "nil"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, Eval(c.call)) << c.call;
}

TEST_F(LuaStateTest, SetFieldStoresEachKindInTheTableOnTop)
{
    lua_newtable(L);
    lua.SetField("text", std::string("a\0b", 3));
    lua.SetField("literal", "on");
    lua.SetField("flag", false);
    lua.SetField("number", -4);
    lua.SetThis(&counter);
    ASSERT_EQ(1, lua_gettop(L));
    lua_setglobal(L, "t");
    EXPECT_EQ("string 3", Eval("type(t.text) .. ' ' .. #t.text"));
    EXPECT_EQ("string on", Eval("type(t.literal) .. ' ' .. t.literal"));
    EXPECT_EQ("boolean", Eval("type(t.flag)"));
    EXPECT_EQ("-4", Eval("t.number"));
    EXPECT_EQ("userdata", Eval("type(t.__this)"));
}

TEST(LuaDebugTest, PrintsTheStackFromTheBottomUp)
{
    LuaState lua;
    lua_State* const L = lua.GetState();
    lua.DoString("loop = {} loop.self = loop");
    lua_pushnil(L);
    lua_pushinteger(L, 3);
    lua_pushnumber(L, 2.5);
    lua_pushboolean(L, 1);
    lua_pushstring(L, "s");
    lua_newtable(L);
    lua.SetField("a", 1);
    lua_getglobal(L, "loop");

    testing::internal::CaptureStdout();
    LuaDumpStack(L);
    std::fflush(stdout);
    const std::string output = testing::internal::GetCapturedStdout();
    const std::string expected = "nil\n3\n2.500000\ntrue\n's'\n{ ['a']=1, };\n{ ['self']=table:";
    EXPECT_EQ(expected, output.substr(0, expected.size()));
    EXPECT_EQ(", };\n", output.substr(output.size() - 5));
    EXPECT_EQ(7, lua_gettop(L));
}

} // namespace
