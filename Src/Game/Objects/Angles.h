#pragma once

// Multiplied by degrees gives radians, and the other way round.
constexpr float RadiansPerDegree = 3.14159265358979323846f / 180.0f;
constexpr double DegreesPerRadian = 57.29577951308232;
