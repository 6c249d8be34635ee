#pragma once

#include "Ui/ScriptedHandler.h"

#include <SDL.h>

namespace Ui
{

// Runs "OnMouseDown", "OnMouseUp" and "OnClick" for the left button inside
// the frame. A click is a press inside followed, at any later time, by a
// release inside.
class MouseButtonHandler : public ScriptedHandler
{
public:
    explicit MouseButtonHandler(FrameController* frame);

    static bool OnMouseButton(const SDL_Event& event, Object* data);

private:
    enum Hooks
    {
        OnMouseDown,
        OnMouseUp,
        OnClick
    };

    bool Press();
    bool Release();

    bool pressed = false;
};

} // namespace Ui
