#pragma once

// Values of the ship format written in frame units, frames at 24 a second
// (marked by "original"), turned into seconds and degrees in place. Each is
// computed in double precision and stored as a float.

namespace Melee
{

// (x + 1) / 24 seconds.
void ConvertWaitTime(float& value);
// x * 24 / (wait + 1), a negative wait counting as 0.
void ConvertAcceleration(float& value, int wait);
// 540 / (x + 1) degrees per second.
void ConvertTurningSpeed(float& value);
// x / 24 seconds.
void ConvertLifetime(float& value);
// Unchanged.
void ConvertSpeed(float& value);

} // namespace Melee
