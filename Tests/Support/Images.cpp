#include "Support/Images.h"

#include "Support/ChildProcess.h"

#include <SDL.h>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <memory>
#include <vector>

namespace
{

constexpr std::chrono::seconds ConvertTimeout(60);

// The row of CMYK samples, inverted for Adobe's marker.
std::vector<JSAMPLE> InkRow(int y, int width, bool adobe, const PixelColor& ink)
{
    std::vector<JSAMPLE> row;
    for (int x = 0; x < width; ++x)
    {
        const Uint32 cmyk = ink(x, y);
        for (int shift = 24; shift >= 0; shift -= 8)
        {
            const JSAMPLE sample = static_cast<JSAMPLE>((cmyk >> shift) & 0xFF);
            row.push_back(adobe ? static_cast<JSAMPLE>(255 - sample) : sample);
        }
    }
    return row;
}

void MakeFolders(const std::string& name)
{
    const std::filesystem::path file(name);
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path());
}

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
    MakeFolders(name);
    const int saved = SDL_SaveBMP(surface, name.c_str());
    SDL_FreeSurface(surface);
    ASSERT_EQ(0, saved) << SDL_GetError();
}

void WriteSolidBmp(const std::string& name, int width, int height, Uint32 color)
{
    WriteBmp(name, width, height, [color](int, int) { return color; });
}

void WriteCmykJpeg(const std::string& name, int width, int height, bool adobe,
                   const PixelColor& ink)
{
    MakeFolders(name);
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name.c_str(), "wb"),
                                                               std::fclose);
    ASSERT_NE(nullptr, file) << name;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors); // exits on an error, which nothing here makes
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.get());
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, JCS_CMYK);
    jpeg_set_quality(&info, 100, TRUE);
    info.write_Adobe_marker = adobe ? TRUE : FALSE;
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < height; ++y)
    {
        std::vector<JSAMPLE> row = InkRow(y, width, adobe, ink);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
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
