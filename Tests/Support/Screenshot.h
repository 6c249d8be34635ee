#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

class VirtualDisplay;

// A picture of a window's content as it is on the screen, taken with
// ImageMagick's import. Xvfb's frame buffer has no alpha channel.
class Screenshot
{
public:
    struct Pixel
    {
        int red, green, blue;
    };

    // Throws std::runtime_error when the window cannot be photographed.
    Screenshot(const VirtualDisplay& display, unsigned long window);

    int Width() const { return width; }
    int Height() const { return height; }
    // The pixel at a position from the top-left corner; black outside.
    Pixel At(int x, int y) const;

private:
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// Photographs the window until a picture passes the test or the timeout has
// passed, and returns the last picture. A photograph that fails, as one may
// while a window maps or changes, is taken again; throws std::runtime_error
// when none succeeded in time.
Screenshot WaitForScreenshot(const VirtualDisplay& display, unsigned long window,
                             const std::function<bool(const Screenshot&)>& test,
                             std::chrono::milliseconds timeout);

enum class Hue
{
    Red,
    Green,
    Blue,
    Yellow
};

// The channels of the hue outweigh the others clearly.
bool Shows(Screenshot::Pixel pixel, Hue hue);

// The sum of the three channels' differences.
int Difference(Screenshot::Pixel a, Screenshot::Pixel b);
