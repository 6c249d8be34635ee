#pragma once

#include "Ui/ScriptedHandler.h"

#include <SDL.h>

namespace Ui
{

// Runs "OnEnter" once when the pointer moves into the frame and "OnLeave"
// once when it moves out. Every motion goes on to the other handlers.
class MouseMotionHandler : public ScriptedHandler
{
public:
    explicit MouseMotionHandler(FrameController* frame);

    static bool OnMouseMotion(const SDL_Event& event, Object* data);

private:
    enum Hooks
    {
        OnEnter,
        OnLeave
    };

    bool inside = false;
};

} // namespace Ui
