#pragma once

#include "Engine/Object.h"

#include <SDL.h>

// A dispatcher handler that counts the events reaching it and consumes none;
// registered behind others, it shows which events they let pass.
struct EventCounter : Object
{
    static bool Count(const SDL_Event& /*event*/, Object* data)
    {
        ++static_cast<EventCounter*>(data)->events;
        return false;
    }

    int events = 0;
};
