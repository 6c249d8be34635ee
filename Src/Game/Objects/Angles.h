#pragma once

#include "Engine/MathUtil.h"

// Multiplied by degrees gives radians, and the other way round.
constexpr float RadiansPerDegree = Math::Pi<float> / 180.0f;
constexpr double DegreesPerRadian = 180 / Math::Pi<double>;
