#pragma once

#include <lua.hpp>
#include <string>

class LuaState;

// The value of a Lua expression, converted by tostring; the stack stays as it was.
std::string LuaEval(LuaState& lua, const std::string& expression);

// The message of the Error that running the text throws, or "no error".
std::string LuaFailure(LuaState& lua, const std::string& text);

bool EndsWith(const std::string& text, const std::string& end);

// Run(text): a native function that runs its argument as a chunk through a
// borrowed wrapper.
int LuaRun(lua_State* L);

// The bytes of the Lua function expression, compiled as string.dump writes it.
std::string PrecompiledChunk(const std::string& function);
