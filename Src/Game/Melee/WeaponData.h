#pragma once

#include "Game/Melee/Weapon.h"
#include "Game/Objects/WeaponMount.h"

#include <string>
#include <vector>

namespace Melee
{

// What every weapon of a ship definition has; the kinds add their own.
class Weapon::Data
{
public:
    // The type numbers of the kinds, by which the battle picks the weapon.
    enum Type
    {
        Projectile = 0,
        Laser = 1
    };

    Data(int type, const std::string& resource);
    virtual ~Data();
    Data(const Data&) = delete;
    Data& operator=(const Data&) = delete;

    const int type;
    // A projectile weapon's shot model, or a laser's beam texture.
    std::string resource;
    // The sample played on firing; empty for none.
    std::string sample;
    int energyCost = 1;
    // Seconds between two shots.
    float waitTime = 1.0f;
    int damage = 1;
    // One shot leaves each mount.
    std::vector<WeaponMount> mounts;
};

} // namespace Melee
