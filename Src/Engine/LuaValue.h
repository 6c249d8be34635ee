#pragma once

#include <lua.hpp>
#include <string>

// Plain values between C++ and Lua, each type the way Lua converts it: a Lua
// value of another type reads as 0 or false.

inline void LuaPush(lua_State* L, int value)
{
    lua_pushinteger(L, value);
}

inline void LuaPush(lua_State* L, float value)
{
    lua_pushnumber(L, value);
}

inline void LuaPush(lua_State* L, bool value)
{
    lua_pushboolean(L, value);
}

inline void LuaPush(lua_State* L, const std::string& value)
{
    lua_pushlstring(L, value.data(), value.size());
}

inline void LuaRead(lua_State* L, int index, int& value)
{
    value = static_cast<int>(lua_tointeger(L, index));
}

inline void LuaRead(lua_State* L, int index, float& value)
{
    value = static_cast<float>(lua_tonumber(L, index));
}

inline void LuaRead(lua_State* L, int index, bool& value)
{
    value = lua_toboolean(L, index);
}
