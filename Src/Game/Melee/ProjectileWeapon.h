#pragma once

#include "Game/Melee/Weapon.h"

class ControllerInterface;
class Model;

namespace Melee
{

// A weapon that fires visible shots, which may home and have an exhaust.
class ProjectileWeapon : public Weapon
{
public:
    class Data;

    // The shot's model is the data's resource, which must exist.
    ProjectileWeapon(const Data& data, ShipModel& ship, DataStore& store);

    void Spawn(float heading, const Math::Vector& position) override;

private:
    const Data& shotData;
    Model* const shotModel;
};

// Places a new shot, with the ship's velocity plus the shot's speed along its
// heading, and hands its controller to the factory.
void LaunchShot(ControllerInterface* shot, const ShipModel& ship, float heading,
                const Math::Vector& position, float speed);

} // namespace Melee
