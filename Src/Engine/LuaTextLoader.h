#pragma once

#include <cstddef>
#include <lua.hpp>

// Lua 5.1 loads a precompiled chunk through an undump that trusts its input,
// so a crafted one can take the process down. The game loads scripts as Lua
// source text only: these load like lua_load and luaL_loadbuffer, but refuse
// a chunk that starts as a precompiled one with the syntax error
// "<chunk>: can't load a precompiled chunk".
int LuaLoadText(lua_State* L, lua_Reader reader, void* data, const char* chunkName);
int LuaLoadText(lua_State* L, const char* text, std::size_t size, const char* chunkName);

// Replaces the base library's "load", "loadstring", "loadfile" and "dofile"
// with forms that load through LuaLoadText. "loadfile" and "dofile" read the
// file from the disk and need its name: the game has no console to read.
void LuaOpenTextLoaders(lua_State* L);
