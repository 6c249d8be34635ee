#pragma once

#include "Game/Melee/ProjectileWeapon.h"
#include "Game/Melee/WeaponData.h"
#include "Game/Objects/ThrustData.h"

namespace Melee
{

// The shots of a projectile weapon.
class ProjectileWeapon::Data : public Weapon::Data
{
public:
    // The resource is the shot's 3D model.
    explicit Data(const std::string& resource);

    // The shot's collision radius.
    float hitRadius = 1.0f;
    int hits = 1;
    // Seconds.
    float lifetime = 1.0f;
    float speed = 1.0f;
    bool canHitOwner = false;
    bool homing = false;
    // Degrees per second of a homing shot.
    float turningSpeed = 0.0f;
    // The shot's exhaust.
    ThrustList thrust;
};

} // namespace Melee
