#pragma once

#include <string>

class LuaState;

// The value of a Lua expression, converted by tostring; the stack stays as it was.
std::string LuaEval(LuaState& lua, const std::string& expression);

// The message of the Error that running the text throws, or "no error".
std::string LuaFailure(LuaState& lua, const std::string& text);

bool EndsWith(const std::string& text, const std::string& end);
