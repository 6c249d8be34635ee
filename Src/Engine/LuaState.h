#pragma once

#include "Engine/LuaLimits.h"
#include "Engine/Object.h"

#include <chrono>
#include <cstddef>
#include <lua.hpp>
#include <memory>
#include <string>

// Raises a Lua error whose message is the text as it stands, after the
// location of the script line that called the native function.
[[noreturn]] void LuaError(lua_State* L, const std::string& message);

// Raises "Too few arguments, %d required" when fewer than n arguments follow
// the bound table (argument 1).
void LuaCheckArgs(lua_State* L, int n);

// The object bound as "__this" to the table at the stack index (argument 1
// unless told otherwise); null when that is not a table or its "__this"
// holds no light userdata.
Object* LuaGetThis(lua_State* L, int index = 1);

// Lua's own rule for text: a string, or a number taken as its text. False,
// with the text untouched, for any other value.
bool LuaToText(lua_State* L, int index, std::string& text);

// The text of the argument at the stack index by that rule; any other value
// raises "Argument %d must be a string", counted after the bound table.
std::string LuaCheckText(lua_State* L, int index);

// The globals "GetGlobal" and "GetFrame": the value of the global named by the
// text of the last argument, nil when there is no argument or it has no text.
int LuaGetGlobal(lua_State* L);

// Pushes a Lua function that runs the native function. A std::exception it
// throws becomes a Lua error of the calling script, so no C++ exception ever
// crosses a Lua frame. Every native function reaches Lua through here.
void LuaPushFunction(lua_State* L, lua_CFunction function);

// A Lua state with the base, string, table and math libraries, or a borrowing
// wrapper around the state a native function was called with. Its scripts
// run within its LuaLimits and are loaded from source text only.
//
// Scripts run in protected mode. A failure outside every protected call throws
// Error "Lua error: " + Lua's message; a script string that fails inside one
// (run by a native function called from Lua) raises a Lua error instead, which
// fails the calling script. The depth of protected calls lives in the state's
// LuaLimits, so every wrapper around it agrees on it.
class LuaState : public Object
{
public:
    explicit LuaState(std::size_t memoryBytes = LuaLimits::DefaultMemoryBytes,
                      std::chrono::milliseconds callTime = LuaLimits::DefaultCallTime);
    explicit LuaState(lua_State* borrowedState);
    ~LuaState() override;
    LuaState(const LuaState&) = delete;
    LuaState& operator=(const LuaState&) = delete;

    lua_State* GetState() const { return state; }

    // Runs a script file read through the data files; Lua's messages cite the
    // name as given. Throws Error.
    void RunFile(const std::string& file);

    // Runs a text as a chunk. It leaves `results` values on the stack (all of
    // them for LUA_MULTRET) and returns how many; with the default, the stack
    // stays as it was. A failure is reported as "luaL_dostring error: 1: "
    // followed by Lua's message.
    int DoString(const char* text, int results = 0);
    int DoString(const std::string& text, int results = 0);

    // Runs a text as a chunk in protected mode and drops its results; a failure
    // is dropped too and gives false.
    bool TryDoString(const char* text);

    // Sets "__this" of the table on top of the stack to the object.
    void SetThis(Object* object);

    // The object bound to argument 1 as a T; raises "Invalid Lua object!" when
    // there is none or it is not a T.
    template <class T>
    static T* GetThis(lua_State* L);

    void CheckArgs(int n) { LuaCheckArgs(state, n); }
    [[noreturn]] void Error(const std::string& message) { LuaError(state, message); }

    // Each stores a value under the name in the table on top of the stack,
    // which stays there. A function is bound through LuaPushFunction.
    void SetField(const char* name, const std::string& value);
    void SetField(const char* name, const char* value);
    void SetField(const char* name, bool value);
    void SetField(const char* name, int value);
    void SetField(const char* name, lua_CFunction function);

    // Binds a native function (through LuaPushFunction) as a global.
    void Register(const char* name, lua_CFunction function);

    // Pops the message on top of the stack and throws Error "Lua error: " + it.
    static int Panic(lua_State* L);

private:
    void OpenLibraries();
    int ProtectedCall(int args, int results);
    int RunString(const char* text, int results);
    [[noreturn]] void FailString();

    // Null for a borrowing wrapper; it outlives the state it bounds.
    const std::unique_ptr<LuaLimits> limits;
    lua_State* state;
    bool borrowed;
};

template <class T>
T* LuaState::GetThis(lua_State* L)
{
    T* object = dynamic_cast<T*>(LuaGetThis(L));
    if (!object)
        LuaError(L, "Invalid Lua object!");
    return object;
}
