#include "Game/MenuState.h"

MenuState::MenuState(Timer* timer, VideoInterface* graph)
    : SimpleGameState(timer, graph, nullptr, 1)
{
    profiler.SetName("Menu");
}

Engine::GameState* MenuState::Update()
{
    return this;
}
