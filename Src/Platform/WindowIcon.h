#pragma once

#include <SDL.h>

namespace Platform
{

constexpr int WindowIconSize = 32;

// The window icon, drawn into a new 32-bit surface that the caller frees. It is
// part of the executable, so it is set with SDL_WM_SetIcon before the video mode
// opens and needs no file.
SDL_Surface* CreateWindowIcon();

} // namespace Platform
