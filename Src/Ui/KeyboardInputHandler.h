#pragma once

#include "Ui/ScriptedHandler.h"

#include <SDL.h>

namespace Ui
{

// Runs "OnKeyPress" and "OnKeyRelease" for every key while the frame is
// shown, with the key's SDL symbol in the Lua global "arg1".
class KeyboardInputHandler : public ScriptedHandler
{
public:
    explicit KeyboardInputHandler(FrameController* frame);

    static bool OnKey(const SDL_Event& event, Object* data);

private:
    enum Hooks
    {
        OnKeyPress,
        OnKeyRelease
    };
};

} // namespace Ui
