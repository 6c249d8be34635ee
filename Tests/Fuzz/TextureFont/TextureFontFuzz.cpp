// A bitmap font definition, read as the store reads it when the font is
// registered, then loaded over a 32 by 16 atlas "Glyphs.bmp" beside it and
// measured with every byte.

#include "Engine/Error.h"
#include "Graphics/TextureFont.h"
#include "Support/FuzzInput.h"

#include <SDL.h>
#include <cstddef>
#include <cstdint>
#include <string>

namespace
{

const char* const Definition = "Fonts/Font.xml";

void WriteAtlas()
{
    SDL_Surface* const atlas = SDL_CreateRGBSurface(SDL_SWSURFACE, 32, 16, 24, 0xFF0000,
                                                    0x00FF00, 0x0000FF, 0);
    FuzzCheck(atlas && SDL_SaveBMP(atlas, "Fonts/Glyphs.bmp") == 0, "the atlas is written");
    SDL_FreeSurface(atlas);
}

// Every byte once, a newline among them.
std::string EveryByte()
{
    std::string text;
    for (int c = 0; c < 256; ++c)
        text += static_cast<char>(c);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartFuzzTarget(*argc, *argv, "");
    WriteInput(Definition, nullptr, 0);
    WriteAtlas();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string text = EveryByte();
    WriteInput(Definition, data, size);
    try
    {
        TextureFont font(Definition);
        font.Load();
        int width = 0;
        int height = 0;
        font.GetTextSize(text, width, height);
    }
    catch (const Error&)
    {
        // Reported as the store would report it; any other exception escapes.
    }
    return 0;
}
