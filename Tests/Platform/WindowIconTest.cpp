#include "Platform/WindowIcon.h"

#include <gtest/gtest.h>

TEST(WindowIconTest, IsASquareImageWithOpaqueAndTransparentPixels)
{
    SDL_Surface* icon = Platform::CreateWindowIcon();
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(Platform::WindowIconSize, icon->w);
    EXPECT_EQ(Platform::WindowIconSize, icon->h);
    EXPECT_EQ(32, icon->format->BitsPerPixel);

    Uint8 r, g, b, a;
    const auto pixel = [&](int x, int y)
    {
        const auto* row = static_cast<const Uint8*>(icon->pixels) + y * icon->pitch;
        SDL_GetRGBA(reinterpret_cast<const Uint32*>(row)[x], icon->format, &r, &g, &b, &a);
    };
    pixel(0, 0);
    EXPECT_EQ(0, a);
    pixel(Platform::WindowIconSize / 2, Platform::WindowIconSize / 2 - 3);
    EXPECT_EQ(255, a);
    SDL_FreeSurface(icon);
}
