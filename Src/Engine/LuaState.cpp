#include "Engine/LuaState.h"

#include "Engine/DataFile.h"
#include "Engine/Error.h"
#include "Engine/LuaTextLoader.h"
#include "Engine/ScopedArray.h"

#include <cstring>
#include <exception>
#include <new>

namespace
{

int CallNative(lua_State* L)
{
    const lua_CFunction function = lua_tocfunction(L, lua_upvalueindex(1));
    std::string message;
    try
    {
        return function(L);
    }
    catch (const std::exception& e)
    {
        message = e.what();
    }
    LuaError(L, message);
}

} // namespace

void LuaError(lua_State* L, const std::string& message)
{
    luaL_where(L, 1);
    lua_pushlstring(L, message.data(), message.size());
    lua_concat(L, 2);
    lua_error(L);
    __builtin_unreachable(); // lua_error unwinds to the enclosing protected call
}

void LuaCheckArgs(lua_State* L, int n)
{
    if (lua_gettop(L) - 1 < n)
        LuaError(L, "Too few arguments, " + std::to_string(n) + " required");
}

Object* LuaGetThis(lua_State* L, int index)
{
    if (!lua_istable(L, index))
        return nullptr;
    const int table = index < 0 ? lua_gettop(L) + 1 + index : index;
    lua_pushliteral(L, "__this");
    lua_rawget(L, table);
    Object* const object =
        lua_islightuserdata(L, -1) ? static_cast<Object*>(lua_touserdata(L, -1)) : nullptr;
    lua_pop(L, 1);
    return object;
}

bool LuaToText(lua_State* L, int index, std::string& text)
{
    std::size_t length = 0;
    const char* const chars = lua_tolstring(L, index, &length);
    if (!chars)
        return false;
    text.assign(chars, length);
    return true;
}

std::string LuaCheckText(lua_State* L, int index)
{
    std::string text;
    if (!LuaToText(L, index, text))
        LuaError(L, "Argument " + std::to_string(index - 1) + " must be a string");
    return text;
}

int LuaGetGlobal(lua_State* L)
{
    const int last = lua_gettop(L);
    std::string name;
    if (last == 0 || !LuaToText(L, last, name))
        lua_pushnil(L);
    else
        lua_getfield(L, LUA_GLOBALSINDEX, name.c_str());
    return 1;
}

void LuaPushFunction(lua_State* L, lua_CFunction function)
{
    lua_pushcfunction(L, function);
    lua_pushcclosure(L, CallNative, 1);
}

LuaState::LuaState(std::size_t memoryBytes, std::chrono::milliseconds callTime)
    : limits(std::make_unique<LuaLimits>(memoryBytes, callTime)),
      state(lua_newstate(LuaLimits::Allocate, limits.get())), borrowed(false)
{
    if (!state)
        throw std::bad_alloc();
    lua_atpanic(state, Panic);
    limits->Watch(state);
    try
    {
        OpenLibraries();
    }
    catch (...)
    {
        lua_close(state);
        throw;
    }
}

LuaState::LuaState(lua_State* borrowedState) : state(borrowedState), borrowed(true) {}

LuaState::~LuaState()
{
    if (!borrowed)
        lua_close(state);
}

void LuaState::OpenLibraries()
{
    const luaL_Reg libraries[] = {{"", luaopen_base},
                                  {LUA_STRLIBNAME, luaopen_string},
                                  {LUA_TABLIBNAME, luaopen_table},
                                  {LUA_MATHLIBNAME, luaopen_math}};
    for (const luaL_Reg& library : libraries)
    {
        lua_pushcfunction(state, library.func);
        lua_pushstring(state, library.name);
        lua_call(state, 1, 0);
    }
    lua_settop(state, 0);
    LuaOpenTextLoaders(state);
    Register("GetGlobal", LuaGetGlobal);
    Register("GetFrame", LuaGetGlobal);
}

void LuaState::RunFile(const std::string& file)
{
    std::size_t size = 0;
    const ScopedArray<char> buffer(ReadFile(file, &size));
    int status = LuaLoadText(state, buffer.Get(), size, file.c_str());
    if (status == 0)
        status = ProtectedCall(0, 0);
    if (status != 0)
        Panic(state);
}

int LuaState::DoString(const char* text, int results)
{
    const int height = lua_gettop(state);
    if (RunString(text, results) != 0)
        FailString();
    return lua_gettop(state) - height;
}

int LuaState::DoString(const std::string& text, int results)
{
    return DoString(text.c_str(), results);
}

bool LuaState::TryDoString(const char* text)
{
    if (RunString(text, 0) == 0)
        return true;
    lua_pop(state, 1);
    return false;
}

void LuaState::SetThis(Object* object)
{
    lua_pushlightuserdata(state, object);
    lua_setfield(state, -2, "__this");
}

void LuaState::SetField(const char* name, const std::string& value)
{
    lua_pushlstring(state, value.data(), value.size());
    lua_setfield(state, -2, name);
}

void LuaState::SetField(const char* name, const char* value)
{
    lua_pushstring(state, value);
    lua_setfield(state, -2, name);
}

void LuaState::SetField(const char* name, bool value)
{
    lua_pushboolean(state, value);
    lua_setfield(state, -2, name);
}

void LuaState::SetField(const char* name, int value)
{
    lua_pushinteger(state, value);
    lua_setfield(state, -2, name);
}

void LuaState::SetField(const char* name, lua_CFunction function)
{
    LuaPushFunction(state, function);
    lua_setfield(state, -2, name);
}

void LuaState::Register(const char* name, lua_CFunction function)
{
    LuaPushFunction(state, function);
    lua_setfield(state, LUA_GLOBALSINDEX, name);
}

int LuaState::Panic(lua_State* L)
{
    const char* const text = lua_tostring(L, -1);
    const std::string message = text ? text : "";
    lua_pop(L, 1);
    throw ::Error("Lua error: ", message);
}

int LuaState::ProtectedCall(int args, int results)
{
    const LuaLimits::Call call(state, args);
    return lua_pcall(state, args, results, 0);
}

int LuaState::RunString(const char* text, int results)
{
    const int status = LuaLoadText(state, text, std::strlen(text), text);
    return status == 0 ? ProtectedCall(0, results) : status;
}

void LuaState::FailString()
{
    const char* const text = lua_tostring(state, -1);
    const std::string message = std::string("luaL_dostring error: 1: ") + (text ? text : "");
    lua_pop(state, 1);
    if (LuaLimits::Of(state).InCall())
        LuaError(state, message);
    throw ::Error("Lua error: ", message);
}
