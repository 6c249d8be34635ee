#pragma once

#include "Game/Melee/Weapon.h"

namespace Melee
{

// A weapon that shows a short beam from each mount.
class LaserWeapon : public Weapon
{
public:
    class Data;
};

} // namespace Melee
