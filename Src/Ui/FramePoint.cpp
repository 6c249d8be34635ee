#include "Ui/FramePoint.h"

#include <cstdio>

namespace Ui
{

FramePoint ParsePoint(const std::string& name)
{
    static const struct
    {
        const char* name;
        FramePoint point;
    } points[] = {{"TOP", TOP},
                  {"LEFT", LEFT},
                  {"RIGHT", RIGHT},
                  {"BOTTOM", BOTTOM},
                  {"TOPLEFT", TOPLEFT},
                  {"TOPRIGHT", TOPRIGHT},
                  {"BOTTOMLEFT", BOTTOMLEFT},
                  {"BOTTOMRIGHT", BOTTOMRIGHT},
                  {"CENTER", CENTER}};
    for (const auto& entry : points)
    {
        if (name == entry.name)
            return entry.point;
    }
    std::printf("Unknown point '%s'\n", name.c_str());
    return TOPLEFT;
}

} // namespace Ui
