#include "Support/Screenshot.h"

#include "Support/Deadline.h"
#include "Support/VirtualDisplay.h"

#include <cstdlib>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace
{

constexpr std::chrono::seconds ImportTimeout(30);
constexpr std::chrono::milliseconds PhotographInterval(50);

} // namespace

Screenshot::Screenshot(const VirtualDisplay& display, unsigned long window)
{
    const ToolRun import =
        RunTool({"import", "-window", std::to_string(window), "-depth", "8", "ppm:-"},
                {{"DISPLAY", display.Name()}}, ImportTimeout);
    if (!import.succeeded)
        throw std::runtime_error("import could not photograph window " + std::to_string(window) +
                                 ": " + import.errors);

    // A binary PPM: "P6", width, height and the largest value as text, one
    // white-space character, then three bytes a pixel.
    const std::string& ppm = import.output;
    std::istringstream header(ppm);
    std::string magic;
    int maximum = 0;
    header >> magic >> width >> height >> maximum;
    const std::size_t size = static_cast<std::size_t>(width) * height * 3;
    if (magic != "P6" || maximum != 255 || !header || ppm.size() < size)
        throw std::runtime_error("import wrote no 8-bit PPM picture");
    rgb.assign(ppm.end() - static_cast<std::ptrdiff_t>(size), ppm.end());
}

Screenshot::Pixel Screenshot::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return {0, 0, 0};
    const unsigned char* const pixel = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    return {pixel[0], pixel[1], pixel[2]};
}

Screenshot WaitForScreenshot(const VirtualDisplay& display, unsigned long window,
                             const std::function<bool(const Screenshot&)>& test,
                             std::chrono::milliseconds timeout)
{
    std::optional<Screenshot> picture;
    std::string failure;
    PollUntil(
        Deadline(timeout),
        [&]
        {
            try
            {
                picture = Screenshot(display, window);
            }
            catch (const std::runtime_error& e)
            {
                failure = e.what();
                return false;
            }
            return test(*picture);
        },
        PhotographInterval);
    if (!picture)
        throw std::runtime_error(failure);
    return *picture;
}

bool Shows(Screenshot::Pixel pixel, Hue hue)
{
    const int margin = 40;
    switch (hue)
    {
    case Hue::Red:
        return pixel.red > pixel.green + margin && pixel.red > pixel.blue + margin;
    case Hue::Green:
        return pixel.green > pixel.red + margin && pixel.green > pixel.blue + margin;
    case Hue::Blue:
        return pixel.blue > pixel.red + margin && pixel.blue > pixel.green + margin;
    case Hue::Yellow:
        return pixel.red > pixel.blue + margin && pixel.green > pixel.blue + margin;
    }
    return false;
}

int Difference(Screenshot::Pixel a, Screenshot::Pixel b)
{
    return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
}
