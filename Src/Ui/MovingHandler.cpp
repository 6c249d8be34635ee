#include "Ui/MovingHandler.h"

#include "Ui/FrameController.h"
#include "Ui/FrameModel.h"
#include "Ui/FrameView.h"

namespace Ui
{

MovingHandler::MovingHandler(FrameController* frame)
    : EventHandlerInterface(frame, HandlerType::Moving),
      startOffsetX(frame->GetFrameModel().offsetX), startOffsetY(frame->GetFrameModel().offsetY)
{
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    startPointerX = x;
    startPointerY = y;
    Listen(SDL_MOUSEMOTION, OnMouseMotion);
}

bool MovingHandler::OnMouseMotion(const SDL_Event& event, Object* data)
{
    if (const MovingHandler* const handler = ShownHandler<MovingHandler>(data))
        handler->Follow(event.motion.x, event.motion.y);
    return false;
}

// The offset is in units of the relative frame, whose scale the layout
// multiplies it by; under a frame of scale 0 the offset moves nothing.
void MovingHandler::Follow(int pointerX, int pointerY) const
{
    FrameModel& frame = GetFrame().GetFrameModel();
    const FrameView* const relative =
        frame.relativeTo ? frame.relativeTo->GetView<FrameView>() : nullptr;
    const float scale = relative ? relative->scale : 1.0f;
    if (scale == 0.0f)
        return;
    frame.offsetX = startOffsetX - static_cast<float>(startPointerX - pointerX) / scale;
    frame.offsetY = startOffsetY - static_cast<float>(startPointerY - pointerY) / scale;
}

} // namespace Ui
