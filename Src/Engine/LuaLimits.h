#pragma once

#include <chrono>
#include <cstddef>
#include <lua.hpp>
#include <string>

// The bounds that the scripts of one Lua state run within: the memory its
// allocator hands out, and the time that one call from the system into Lua
// may take. A script past either bound fails with a Lua error: a refused
// allocation with Lua's "not enough memory", a call past its time, or any
// script once the player asked the game to quit (the window's quit event, or
// a termination signal), from a count hook.
//
// Lua reaches it as its allocator's data, so every wrapper of the state finds
// the same one; it must outlive the state.
class LuaLimits
{
public:
    static constexpr std::size_t DefaultMemoryBytes = std::size_t(512) << 20;
    static constexpr std::chrono::milliseconds DefaultCallTime{5000};

    explicit LuaLimits(std::size_t memoryBytes = DefaultMemoryBytes,
                       std::chrono::milliseconds callTime = DefaultCallTime);
    LuaLimits(const LuaLimits&) = delete;
    LuaLimits& operator=(const LuaLimits&) = delete;

    // The allocator to give lua_newstate with this as its data.
    static void* Allocate(void* limits, void* block, std::size_t oldSize, std::size_t newSize);

    // The limits of a state made with Allocate.
    static LuaLimits& Of(lua_State* L);

    // Starts watching the state's scripts; coroutines inherit the watch.
    void Watch(lua_State* L);

    // The span of one protected call. The outermost one starts the clock of
    // the call, named after the function on top of the stack (a loaded chunk
    // or a function, below its `args` arguments); when it ends after an
    // allocation was refused, it collects the garbage.
    class Call
    {
    public:
        Call(lua_State* L, int args);
        ~Call();
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;

    private:
        LuaLimits& limits;
    };

    // True inside a protected call that the system made.
    bool InCall() const { return depth > 0; }

    std::size_t MemoryInUse() const { return used; }

private:
    using Clock = std::chrono::steady_clock;

    enum class Verdict
    {
        GoOn,
        TooLong,
        Quitting
    };

    static void Hook(lua_State* L, lua_Debug* ar);
    void Begin(lua_State* L, int args);
    std::size_t Room() const;
    void CollectGarbage();
    Verdict Judge();
    [[noreturn]] void Stop(lua_State* L, Verdict verdict);

    const std::size_t memoryBytes;
    const std::chrono::milliseconds callTime;
    std::size_t used = 0;
    bool refused = false; // since the last collection
    bool collecting = false;
    lua_State* mainState = nullptr;
    int depth = 0;
    Clock::time_point deadline;
    Clock::time_point nextQuitCheck;
    std::string callName;
    bool timedOut = false;
    bool quitting = false;
};
