#include "Game/MenuState.h"

MenuState::MenuState(Timer* timer, VideoInterface* graph) : SimpleGameState(timer, graph, 1)
{
    profiler.SetName("Menu");
}

Engine::GameState* MenuState::Update()
{
    return this;
}
