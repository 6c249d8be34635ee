#pragma once

#include "Game/Melee/Weapon.h"

namespace Melee
{

// A weapon that fires visible shots, which may home and have an exhaust.
class ProjectileWeapon : public Weapon
{
public:
    class Data;
};

} // namespace Melee
