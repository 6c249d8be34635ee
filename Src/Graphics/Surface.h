#pragma once

#include <SDL_video.h>
#include <memory>

// An owned SDL surface, freed with SDL_FreeSurface.
struct SurfaceDeleter
{
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;
