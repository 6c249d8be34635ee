#pragma once

#include "Engine/Vector.h"

// A barrel of a weapon: the degrees added to the ship's heading, and where the
// shot leaves the ship in the ship's own frame.
struct WeaponMount
{
    float angle = 0.0f;
    Math::Vector offset;
};
