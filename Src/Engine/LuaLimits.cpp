#include "Engine/LuaLimits.h"

#include "Engine/EventDispatcher.h"
#include "Platform/TerminationSignals.h"

#include <cstdlib>

namespace
{

// Instructions between two looks at the clock: rare enough to cost nothing,
// often enough that a stop comes at once.
const int HookInstructions = 1000;

// Asking SDL for a quit request pumps the window's events, so it is done
// only this often.
const std::chrono::milliseconds QuitCheckInterval(100);

// The name of a call whose source has no name of its own.
const char* const AnyScript = "A script";

} // namespace

LuaLimits::LuaLimits(std::size_t memoryBytes, std::chrono::milliseconds callTime)
    : memoryBytes(memoryBytes), callTime(callTime), callName(AnyScript)
{
}

void* LuaLimits::Allocate(void* data, void* block, std::size_t oldSize, std::size_t newSize)
{
    LuaLimits& limits = *static_cast<LuaLimits*>(data);
    if (newSize == 0)
    {
        std::free(block);
        limits.used -= oldSize;
        return nullptr;
    }
    // Lua counts on a block that shrinks never failing.
    if (newSize > oldSize && newSize - oldSize > limits.Room())
    {
        limits.refused = true;
        return nullptr;
    }
    void* const moved = std::realloc(block, newSize);
    if (moved)
        limits.used = limits.used - oldSize + newSize;
    return moved;
}

// The collection after a refusal may go a little past the cap, and no more:
// finalizers run during it.
std::size_t LuaLimits::Room() const
{
    const std::size_t cap = collecting ? memoryBytes + memoryBytes / 8 : memoryBytes;
    return used < cap ? cap - used : 0;
}

LuaLimits& LuaLimits::Of(lua_State* L)
{
    void* data = nullptr;
    lua_getallocf(L, &data);
    return *static_cast<LuaLimits*>(data);
}

void LuaLimits::Watch(lua_State* L)
{
    mainState = L;
    lua_sethook(L, Hook, LUA_MASKCOUNT, HookInstructions);
}

LuaLimits::Call::Call(lua_State* L, int args) : limits(Of(L))
{
    limits.Begin(L, args);
}

LuaLimits::Call::~Call()
{
    if (--limits.depth == 0 && limits.refused)
        limits.CollectGarbage();
}

void LuaLimits::Begin(lua_State* L, int args)
{
    if (depth == 0)
    {
        // What is called may be no function: a table with a "__call" field
        // runs a script, and anything else fails at once.
        callName = AnyScript;
        if (lua_isfunction(L, -1 - args))
        {
            lua_Debug called;
            lua_pushvalue(L, -1 - args);
            lua_getinfo(L, ">S", &called);
            callName = called.short_src;
        }
        timedOut = false;
        deadline = Clock::now() + callTime;
        // A stopped script leaves its thread's hook firing at every instruction.
        lua_sethook(mainState, Hook, LUA_MASKCOUNT, HookInstructions);
    }
    ++depth;
}

// Lua 5.1 collects no garbage when an allocation fails, and the garbage of a
// script that met the cap may lie above the point where the next collection
// would start: without this, every later script of the state would fail too.
// The collection itself needs a little memory (Room); it is protected, as
// finalizers run during it.
void LuaLimits::CollectGarbage()
{
    refused = false;
    collecting = true;
    lua_cpcall(
        mainState, [](lua_State* L) { return lua_gc(L, LUA_GCCOLLECT, 0); }, nullptr);
    collecting = false;
}

void LuaLimits::Hook(lua_State* L, lua_Debug*)
{
    LuaLimits& limits = Of(L);
    const Verdict verdict = limits.Judge();
    if (verdict != Verdict::GoOn)
        limits.Stop(L, verdict);
}

LuaLimits::Verdict LuaLimits::Judge()
{
    if (quitting)
        return Verdict::Quitting;
    const Clock::time_point now = Clock::now();
    if (depth > 0 && (timedOut || now >= deadline))
    {
        timedOut = true;
        return Verdict::TooLong;
    }
    if (now >= nextQuitCheck)
    {
        nextQuitCheck = now + QuitCheckInterval;
        quitting = Platform::TerminationRequested() || EventDispatcher::QuitRequested();
    }
    return quitting ? Verdict::Quitting : Verdict::GoOn;
}

// The script may catch the error, but every instruction it runs after that
// fails again, so the error reaches the system.
void LuaLimits::Stop(lua_State* L, Verdict verdict)
{
    const std::string message = verdict == Verdict::TooLong
                                    ? callName + " ran longer than " +
                                          std::to_string(callTime.count()) + " ms and was stopped"
                                    : callName + " was stopped: the game is quitting";
    lua_sethook(L, Hook, LUA_MASKCOUNT, 1);
    luaL_where(L, 0);
    lua_pushlstring(L, message.data(), message.size());
    lua_concat(L, 2);
    lua_error(L);
    __builtin_unreachable(); // lua_error unwinds to the enclosing protected call
}
