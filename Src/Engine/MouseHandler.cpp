#include "Engine/MouseHandler.h"

#include "Engine/EventDispatcher.h"

MouseHandler::MouseHandler(EventDispatcher& dispatcher) : dispatcher(dispatcher)
{
    dispatcher.AddHandler(SDL_MOUSEMOTION, OnMouse, this, false);
}

MouseHandler::~MouseHandler()
{
    dispatcher.RemoveHandler(SDL_MOUSEMOTION, OnMouse, this);
}

bool MouseHandler::OnMouse(const SDL_Event& event, Object* data)
{
    MouseHandler* const self = dynamic_cast<MouseHandler*>(data);
    if (!self)
        return false;
    self->x = event.motion.x;
    self->y = event.motion.y;
    return true;
}
