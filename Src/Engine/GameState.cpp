#include "Engine/GameState.h"

#include <string>

namespace Engine
{

GameState::GameState(Timer* timer, int id)
    : id(id), timer(timer), profiler("State" + std::to_string(id)), tickProfiler("Tick"),
      drawProfiler("Draw")
{
    profiler.AddChild(&tickProfiler);
    profiler.AddChild(&drawProfiler);
}

void GameState::SetPaused(bool pause)
{
    if (initialised && paused && !pause)
        OnResume();
    paused = pause;
}

} // namespace Engine
