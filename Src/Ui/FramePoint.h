#pragma once

namespace Ui
{

// The anchor points of a frame's rectangle, named by these words in the data
// and in Lua (UiDataReader::ParsePoint).
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

} // namespace Ui
