#pragma once

#include <SDL_video.h>
#include <functional>
#include <string>

// Colours as 0xRRGGBB, or 0xAARRGGBB where alpha counts.
using PixelColor = std::function<Uint32(int x, int y)>;

// A 24-bit BMP of the size, each pixel coloured by the function (alpha is
// ignored); its folders are made.
void WriteBmp(const std::string& name, int width, int height, const PixelColor& color);
// The same with one colour.
void WriteSolidBmp(const std::string& name, int width, int height, Uint32 color);

// A baseline JPEG of four components, written by libjpeg at the best
// quality: each pixel's ink from the function as 0xCCMMYYKK, stored as it is
// without any colour marker, or inverted with Adobe's marker (transform 0) as
// Adobe's tools store it.
void WriteCmykJpeg(const std::string& name, int width, int height, bool adobe,
                   const PixelColor& ink);

// Runs ImageMagick's convert with the arguments (quoted as the shell takes
// them); fails the current test when it fails.
void Convert(const std::string& arguments);

// A pixel as 0xAARRGGBB, whatever the surface's format (alpha 0xFF without
// an alpha channel).
Uint32 ReadPixel(const SDL_Surface* surface, int x, int y);
