#include "Support/Images.h"

#include "Support/ChildProcess.h"

#include <SDL.h>
#include <filesystem>
#include <gtest/gtest.h>

namespace
{

constexpr std::chrono::seconds ConvertTimeout(60);

} // namespace

void WriteBmp(const std::string& name, int width, int height, const PixelColor& color)
{
    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    ASSERT_NE(nullptr, surface);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const Uint32 rgb = color(x, y);
            Uint8* pixel = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * 3;
            pixel[0] = rgb & 0xFF; // blue, by the masks above
            pixel[1] = (rgb >> 8) & 0xFF;
            pixel[2] = (rgb >> 16) & 0xFF;
        }
    }
    const std::filesystem::path file(name);
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path());
    const int saved = SDL_SaveBMP(surface, name.c_str());
    SDL_FreeSurface(surface);
    ASSERT_EQ(0, saved) << SDL_GetError();
}

void WriteSolidBmp(const std::string& name, int width, int height, Uint32 color)
{
    WriteBmp(name, width, height, [color](int, int) { return color; });
}

void Convert(const std::string& arguments)
{
    // The shell gives way to convert, which so is the process that RunTool
    // ends at the timeout or with this one.
    const std::string command = "exec convert " + arguments;
    const ToolRun convert = RunTool({"sh", "-c", command}, {}, ConvertTimeout);
    ASSERT_TRUE(convert.succeeded) << command << "\n" << convert.errors;
}

Uint32 ReadPixel(const SDL_Surface* surface, int x, int y)
{
    const int bytes = surface->format->BytesPerPixel;
    const Uint8* at = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bytes;
    Uint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | at[i];
    Uint8 r, g, b, a;
    SDL_GetRGBA(value, surface->format, &r, &g, &b, &a);
    return static_cast<Uint32>(a) << 24 | r << 16 | g << 8 | b;
}
