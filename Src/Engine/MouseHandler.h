#pragma once

#include "Engine/Object.h"

#include <SDL.h>

class EventDispatcher;

// Keeps the last pointer position; it consumes every motion event.
class MouseHandler : public Object
{
public:
    explicit MouseHandler(EventDispatcher& dispatcher);
    ~MouseHandler() override;
    MouseHandler(const MouseHandler&) = delete;
    MouseHandler& operator=(const MouseHandler&) = delete;

    int x = 0;
    int y = 0;

private:
    static bool OnMouse(const SDL_Event& event, Object* data);

    EventDispatcher& dispatcher;
};
