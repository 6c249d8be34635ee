#pragma once

#include <string>

namespace Ui
{

// The anchor points of a frame's rectangle, named by these words in the data
// and in Lua.
enum FramePoint
{
    TOPLEFT = 0,
    TOPRIGHT = 1,
    BOTTOMLEFT = 2,
    BOTTOMRIGHT = 3,
    TOP = 4,
    LEFT = 5,
    RIGHT = 6,
    BOTTOM = 7,
    CENTER = 8
};

// The point of that name, compared exactly; an unknown name prints
// "Unknown point '<name>'" and gives TOPLEFT.
FramePoint ParsePoint(const std::string& name);

} // namespace Ui
