#include "Ui/MouseMotionHandler.h"

namespace Ui
{

MouseMotionHandler::MouseMotionHandler(FrameController* frame)
    : ScriptedHandler(frame, HandlerType::MouseMotion, {"OnEnter", "OnLeave"})
{
    Listen(SDL_MOUSEMOTION, OnMouseMotion);
}

bool MouseMotionHandler::OnMouseMotion(const SDL_Event& event, Object* data)
{
    MouseMotionHandler* const handler = ShownHandler<MouseMotionHandler>(data);
    if (!handler)
        return false;
    const bool inside = handler->IsInside(event.motion.x, event.motion.y);
    if (inside && !handler->inside)
    {
        handler->RunHook(OnEnter);
        handler->inside = true;
    }
    else if (!inside && handler->inside)
    {
        handler->RunHook(OnLeave);
        handler->inside = false;
    }
    return false;
}

} // namespace Ui
