#pragma once

#include <lua.hpp>

// Debugging aids: nothing in the game calls them.

// True when the value at the index is a number equal to its integer conversion.
bool LuaIsInteger(lua_State* L, int index);

// Prints one value on standard output: nil, numbers ("%d" for integers, else
// "%f"), booleans, strings in single quotes, tables as "{ [key]=value, };"
// and anything else as its type name and address.
void LuaPrintValue(lua_State* L, int index);

// Prints every slot of the stack from the bottom up, one per line.
void LuaDumpStack(lua_State* L);
