#pragma once

#include "Engine/Vector.h"

#include <array>
#include <vector>

namespace Melee
{

// A step of the battle camera's zoom: the square of the half height of the
// arena plane that the window shows from that distance.
struct ZoomStep
{
    float reachSquared;
    float distance;
};

using ZoomTable = std::array<ZoomStep, 8>;

// The camera distances of the steps, nearest first.
extern const float ZoomDistances[8];

// The shorter way from one point to another across the arena's edges, on x
// and y.
Math::Vector WrappedDifference(const Math::Vector& from, const Math::Vector& to);

// The point the camera follows: the first ship's place, moved halfway toward
// the second by the shorter way. Needs at least one ship.
Math::Vector ArenaCentre(const std::vector<Math::Vector>& ships);

// The distance of the first step whose reach exceeds the largest squared
// distance of a ship from the centre, or the current one when no step does
// (or the ships stand on the centre).
float ChooseDistance(const ZoomTable& zoom, const Math::Vector& centre,
                     const std::vector<Math::Vector>& ships, float current);

// The shift that draws a body at its image within 200 units of the centre on
// each axis.
Math::Vector DrawingOffset(const Math::Vector& position, const Math::Vector& centre);

} // namespace Melee
