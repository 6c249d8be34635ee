#pragma once

#include "Ui/EventHandlerInterface.h"

#include <SDL.h>

namespace Ui
{

// Makes the frame follow the pointer: its offset moves with the pointer from
// where both were when the handler was made. It has no hooks.
class MovingHandler : public EventHandlerInterface
{
public:
    explicit MovingHandler(FrameController* frame);

    bool SetScript(const std::string& /*name*/, const char* /*code*/) override { return false; }
    const std::string* GetScript(const std::string& /*name*/) const override { return nullptr; }

    static bool OnMouseMotion(const SDL_Event& event, Object* data);

private:
    void Follow(int pointerX, int pointerY) const;

    float startOffsetX;
    float startOffsetY;
    Sint32 startPointerX = 0;
    Sint32 startPointerY = 0;
};

} // namespace Ui
