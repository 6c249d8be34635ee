#pragma once

#include "Game/Melee/LaserWeapon.h"
#include "Game/Melee/WeaponData.h"

namespace Melee
{

// The beams of a laser.
class LaserWeapon::Data : public Weapon::Data
{
public:
    // The resource is the beam's texture.
    explicit Data(const std::string& resource);

    float range = 1.0f;
    float width = 0.1f;
    bool continuous = true;
};

} // namespace Melee
