#include "Support/Screenshot.h"

#include "Support/VirtualDisplay.h"

#include <sstream>
#include <stdexcept>

namespace
{

constexpr std::chrono::seconds ImportTimeout(30);

} // namespace

Screenshot::Screenshot(const VirtualDisplay& display, unsigned long window)
{
    std::string ppm;
    if (!RunTool({"import", "-window", std::to_string(window), "-depth", "8", "ppm:-"},
                 {{"DISPLAY", display.Name()}}, ImportTimeout, &ppm))
        throw std::runtime_error("import could not photograph window " + std::to_string(window));

    // A binary PPM: "P6", width, height and the largest value as text, one
    // white-space character, then three bytes a pixel.
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
