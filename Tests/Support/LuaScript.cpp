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
