#include "Game/Melee/FrameUnits.h"

#include <algorithm>

namespace Melee
{

namespace
{

constexpr double FramesPerSecond = 24;
constexpr double TurnDegrees = 540;

} // namespace

void ConvertWaitTime(float& value)
{
    value = static_cast<float>((value + 1.0) / FramesPerSecond);
}

void ConvertAcceleration(float& value, int wait)
{
    // In double, so that the largest wait does not overflow.
    value = static_cast<float>(value * FramesPerSecond / (std::max(wait, 0) + 1.0));
    ConvertSpeed(value);
}

void ConvertTurningSpeed(float& value)
{
    value = static_cast<float>(TurnDegrees / (value + 1.0));
}

void ConvertLifetime(float& value)
{
    value = static_cast<float>(value / FramesPerSecond);
}

void ConvertSpeed(float& /*value*/) {}

} // namespace Melee
