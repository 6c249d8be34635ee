#include "Ui/MouseButtonHandler.h"

namespace Ui
{

MouseButtonHandler::MouseButtonHandler(FrameController* frame)
    : ScriptedHandler(frame, HandlerType::MouseButton, {"OnMouseDown", "OnMouseUp", "OnClick"})
{
    Listen(SDL_MOUSEBUTTONDOWN, OnMouseButton);
    Listen(SDL_MOUSEBUTTONUP, OnMouseButton);
}

bool MouseButtonHandler::OnMouseButton(const SDL_Event& event, Object* data)
{
    MouseButtonHandler* const handler = ShownHandler<MouseButtonHandler>(data);
    const SDL_MouseButtonEvent& button = event.button;
    if (!handler || button.button != SDL_BUTTON_LEFT || !handler->IsInside(button.x, button.y))
        return false;
    return event.type == SDL_MOUSEBUTTONDOWN ? handler->Press() : handler->Release();
}

// A frame that takes clicks keeps the press from the frames behind it.
bool MouseButtonHandler::Press()
{
    bool consumed = RunHook(OnMouseDown);
    pressed = true;
    if (!Hook(OnClick).empty())
        consumed = true;
    return consumed;
}

bool MouseButtonHandler::Release()
{
    bool consumed = RunHook(OnMouseUp);
    if (pressed)
        consumed = RunHook(OnClick) || consumed;
    pressed = false;
    return consumed;
}

} // namespace Ui
