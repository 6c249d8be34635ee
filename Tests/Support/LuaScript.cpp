#include "Support/LuaScript.h"

#include "Engine/Error.h"
#include "Engine/LuaState.h"

std::string LuaEval(LuaState& lua, const std::string& expression)
{
    lua.DoString("return tostring(" + expression + ")", 1);
    const std::string value = lua_tostring(lua.GetState(), -1);
    lua_pop(lua.GetState(), 1);
    return value;
}

std::string LuaFailure(LuaState& lua, const std::string& text)
{
    try
    {
        lua.DoString(text);
    }
    catch (const Error& e)
    {
        return e.what();
    }
    return "no error";
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

int LuaRun(lua_State* L)
{
    LuaState(L).DoString(lua_tostring(L, 1));
    return 0;
}

std::string PrecompiledChunk(const std::string& function)
{
    LuaState lua;
    lua.DoString("return string.dump(" + function + ")", 1);
    std::size_t size = 0;
    const char* const bytes = lua_tolstring(lua.GetState(), -1, &size);
    return std::string(bytes, size);
}
