#pragma once

#include "Engine/Object.h"
#include "Engine/Profiler.h"

#include <exception>

class GameStateManager;
class Timer;

namespace Engine
{

// A state of the game on the manager's stack. A state changes the stack only
// through what its Tick returns: itself to stay, null to leave (the manager
// deletes it), or a new state that the manager initialises and puts above it.
class GameState : public Object
{
public:
    GameState(Timer* timer, int id);
    GameState(const GameState&) = delete;
    GameState& operator=(const GameState&) = delete;

    virtual void Init() = 0;
    // Runs when an initialised state is unpaused.
    virtual void OnResume() = 0;
    virtual GameState* Tick() = 0;
    virtual void Draw() = 0;
    // Called by the handler of the failure e. Shows the failure or, when the
    // state cannot, throws.
    virtual void HandleError(const std::exception& e) = 0;

    int GetId() const { return id; }
    void SetPaused(bool pause);
    bool IsPaused() const { return paused; }
    void SetBlocksTick(bool blocks) { blocksTick = blocks; }
    bool BlocksTick() const { return blocksTick; }
    void SetBlocksDraw(bool blocks) { blocksDraw = blocks; }
    bool BlocksDraw() const { return blocksDraw; }
    bool IsInitialised() const { return initialised; }

protected:
    const int id;
    bool blocksTick = true;
    bool blocksDraw = true;
    bool paused = true;
    bool initialised = false;
    Timer* const timer;
    // Named "State" and the id until the state names it.
    Profiler profiler;
    Profiler tickProfiler;
    Profiler drawProfiler;

private:
    // The manager marks a state initialised and times its ticks and draws.
    friend class ::GameStateManager;
};

} // namespace Engine
