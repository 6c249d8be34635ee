#include "Platform/WindowIcon.h"

#include <cmath>
#include <cstdint>

namespace Platform
{

namespace
{

// A ringed blue planet: the ring passes behind the disc in its upper half and
// in front of it in its lower half.
std::uint32_t IconPixel(const SDL_PixelFormat* format, float x, float y)
{
    const float centre = WindowIconSize / 2.0f;
    const float dx = x - centre;
    const float dy = y - centre;
    const float discRadius = 9.5f;
    const bool inDisc = dx * dx + dy * dy < discRadius * discRadius;

    const float ringX = dx / 15.0f;
    const float ringY = (dy + dx * 0.3f) / 5.0f;
    const float ring = ringX * ringX + ringY * ringY;
    const bool inRing = ring < 1.0f && ring > 0.55f;
    const bool ringInFront = inRing && (!inDisc || dy + dx * 0.3f > 0.0f);

    if (ringInFront)
        return SDL_MapRGBA(format, 240, 170, 60, 255);
    if (inDisc)
    {
        const float light = 1.0f - (dx + dy + discRadius * 1.4f) / (discRadius * 2.8f);
        const Uint8 shade = static_cast<Uint8>(80 + 150 * light);
        return SDL_MapRGBA(format, shade / 4, shade / 2, shade, 255);
    }
    return SDL_MapRGBA(format, 0, 0, 0, 0);
}

} // namespace

SDL_Surface* CreateWindowIcon()
{
    SDL_Surface* icon = SDL_CreateRGBSurface(SDL_SWSURFACE, WindowIconSize, WindowIconSize, 32,
                                             0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
    if (!icon)
        return nullptr;
    SDL_LockSurface(icon);
    for (int y = 0; y < WindowIconSize; ++y)
    {
        auto* row =
            reinterpret_cast<std::uint32_t*>(static_cast<Uint8*>(icon->pixels) + y * icon->pitch);
        for (int x = 0; x < WindowIconSize; ++x)
            row[x] = IconPixel(icon->format, x + 0.5f, y + 0.5f);
    }
    SDL_UnlockSurface(icon);
    return icon;
}

} // namespace Platform
