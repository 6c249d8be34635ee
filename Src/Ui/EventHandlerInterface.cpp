#include "Ui/EventHandlerInterface.h"

#include "Ui/FrameController.h"
#include "Ui/FrameModel.h"
#include "Ui/FrameView.h"

#include <utility>

namespace Ui
{

EventHandlerInterface::EventHandlerInterface(FrameController* frame, HandlerType type)
    : type(type), frame(frame)
{
}

EventHandlerInterface::~EventHandlerInterface()
{
    for (const std::pair<int, EventDispatcher::Callback>& registration : registrations)
        frame->GetEvents().RemoveHandler(registration.first, registration.second, this);
}

bool EventHandlerInterface::IsFrameVisible() const
{
    for (const FrameController* shown = frame; shown; shown = shown->GetParent())
    {
        if (!shown->GetFrameModel().visible)
            return false;
    }
    return true;
}

void EventHandlerInterface::Listen(int eventType, EventDispatcher::Callback callback)
{
    frame->GetEvents().AddHandler(eventType, callback, this, true);
    registrations.emplace_back(eventType, callback);
}

bool EventHandlerInterface::IsInside(int pointerX, int pointerY) const
{
    const FrameView* const view = std::as_const(*frame).GetView<FrameView>();
    if (!view)
        return false;
    const float px = static_cast<float>(pointerX);
    const float py = static_cast<float>(pointerY);
    return view->x < px && px < view->x + view->width && view->y < py &&
           py < view->y + view->height;
}

bool EventHandlerInterface::Run(const std::string& code) const
{
    return frame->GetFrameModel().RunScript(code);
}

} // namespace Ui
