#include "Engine/LuaTextLoader.h"

#include "Engine/DataFile.h"
#include "Engine/LuaState.h"
#include "Support/Capture.h"
#include "Support/LuaScript.h"
#include "Support/TempDirectory.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace
{

// Every way a script or the system loads a chunk, with a precompiled one at
// hand: "Dumped" in Lua and Scripts/dumped.luac on the disk.
class LuaTextLoaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CreateFileMutex();
        lua.DoString("function Pieces(text)\n"
                     "    local sent = false\n"
                     "    return function()\n"
                     "        if not sent then sent = true return text end\n"
                     "    end\n"
                     "end");
        dumped = PrecompiledChunk("function() Loaded = true end");
        ASSERT_EQ(LUA_SIGNATURE, dumped.substr(0, 4));
        lua_pushlstring(lua.GetState(), dumped.data(), dumped.size());
        lua_setglobal(lua.GetState(), "Dumped");
        WriteTextFile("Scripts/dumped.luac", dumped);
    }
    void TearDown() override { DestroyFileMutex(); }

    std::string Eval(const std::string& expression) { return LuaEval(lua, expression); }

    TempDirectory directory;
    LuaState lua;
    std::string dumped;
};

TEST_F(LuaTextLoaderTest, ScriptsCannotLoadAPrecompiledChunk)
{
    // Each expression's second value is the message.
    struct Case
    {
        const char* loading;
        const char* message;
    };
    const Case cases[] = {
        {"loadstring(Dumped, 'dump')", "[string \"dump\"]: can't load a precompiled chunk"},
        {"loadstring(Dumped)", "[string \"?LuaQ\"]: can't load a precompiled chunk"},
        {"load(Pieces(Dumped))", "(load): can't load a precompiled chunk"},
        {"load(Pieces(Dumped), '=dump')", "dump: can't load a precompiled chunk"},
        {"loadfile('Scripts/dumped.luac')", "Scripts/dumped.luac: can't load a precompiled chunk"},
        {"pcall(dofile, 'Scripts/dumped.luac')",
         "Scripts/dumped.luac: can't load a precompiled chunk"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.message, Eval("select(2, " + std::string(c.loading) + ")")) << c.loading;
    EXPECT_EQ("nil", Eval("Loaded"));
}

TEST_F(LuaTextLoaderTest, TheSystemCannotLoadAPrecompiledChunk)
{
    EXPECT_EQ("Lua error: [string \"Scripts/dumped.luac\"]: can't load a precompiled chunk",
              ErrorOf([&] { lua.RunFile("Scripts/dumped.luac"); }));
    EXPECT_EQ("Lua error: luaL_dostring error: 1: [string \"?LuaQ\"]: can't load a precompiled "
              "chunk",
              LuaFailure(lua, dumped));
    EXPECT_EQ("nil", Eval("Loaded"));
    EXPECT_EQ(0, lua_gettop(lua.GetState()));
}

TEST_F(LuaTextLoaderTest, SourceTextLoadsAsBefore)
{
    WriteTextFile("Scripts/text.lua", "Count = (Count or 0) + 1\nreturn 'text', Count");
    // After a first line for the shell, the lines keep their numbers.
    WriteTextFile("Scripts/shell.lua", "#!/usr/bin/lua\nerror('line two')");
    // A precompiled chunk behind such a line is text, and no valid text.
    WriteTextFile("Scripts/shelled.luac", "#!/usr/bin/lua\n" + dumped);
    struct Case
    {
        const char* expression;
        const char* value;
    };
    const Case cases[] = {
        {"loadstring('return 1 + 1')()", "2"},
        {"load(Pieces('return 3'))()", "3"},
        {"select(2, loadfile('Scripts/text.lua')())", "1"},
        {"select(2, dofile('Scripts/text.lua'))", "2"},
        {"select(2, dofile('Scripts\\\\text.lua'))", "3"},
        {"select(2, loadstring('x = = 1', 'bad'))",
         "[string \"bad\"]:1: unexpected symbol near '='"},
        {"select(2, load(function() return {} end)):match('reader function must return a string')",
         "reader function must return a string"},
        {"select(2, loadfile('Scripts/missing.lua'))", "cannot open Scripts/missing.lua"},
        {"select(2, loadfile('Scripts/../../text.lua'))",
         "The path 'Scripts/../../text.lua' leads out of the data folder"},
        {"select(2, pcall(dofile, '../Scripts/text.lua'))",
         "The path '../Scripts/text.lua' leads out of the data folder"},
        {"select(2, pcall(dofile, 'Scripts/shell.lua'))", "Scripts/shell.lua:2: line two"},
        {"loadfile('Scripts/shelled.luac')", "nil"},
        // No console to read from.
        {"(pcall(dofile))", "false"},
        {"(pcall(loadfile))", "false"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.value, Eval(c.expression)) << c.expression;
    EXPECT_EQ("nil", Eval("Loaded"));

    // A script is refused by an absolute path even where it is there, and
    // nothing tells whether a file outside exists.
    const std::string absolute = (std::filesystem::current_path() / "Scripts/text.lua").string();
    for (const std::string& path : {absolute, std::string("C:\\Scripts\\text.lua"),
                                    std::string("/etc/passwd"), std::string("/no/such.lua")})
    {
        const std::string refused = "The path '" + path + "' leads out of the data folder";
        EXPECT_EQ(refused, Eval("select(2, loadfile([[" + path + "]]))"));
        EXPECT_EQ(refused, Eval("select(2, pcall(dofile, [[" + path + "]]))"));
    }
    EXPECT_EQ("3", Eval("Count"));
}

} // namespace
