#pragma once

#include "Engine/SimpleGameState.h"

// The first state of the game, at the bottom of the stack; the process ends
// when it leaves.
class MenuState : public Engine::SimpleGameState
{
public:
    MenuState(Timer* timer, VideoInterface* graph);

protected:
    GameState* Update() override;
    void DrawScene() override {}
};
