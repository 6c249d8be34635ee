#pragma once

#include "Game/Melee/ProjectileWeaponData.h"
#include "Game/Melee/Weapon.h"

#include <memory>
#include <vector>

class Model;

namespace Melee
{

class LaserBehavior;

// A weapon that shows a short beam from each mount. What it hits is decided
// by an invisible shot that crosses the beam's range in a twenty-fourth of a
// second.
class LaserWeapon : public Weapon
{
public:
    class Data;

    // The model "Empty3DModel" and the beam texture, the data's resource,
    // must exist.
    LaserWeapon(const Data& data, ShipModel& ship, DataStore& store);
    ~LaserWeapon() override;

    // The beams' steps and drawing.
    void Update() override;
    void Draw() override;
    void SetView(PositionView* shipView) override;
    // Restarts every beam and sends the invisible shot of one mount.
    void Spawn(float heading, const Math::Vector& position) override;

    const ProjectileWeapon::Data& GetShotData() const { return shotData; }
    const std::vector<std::unique_ptr<LaserBehavior>>& GetBeams() const { return beams; }

private:
    ProjectileWeapon::Data shotData;
    std::vector<std::unique_ptr<LaserBehavior>> beams;
    Model* const emptyModel;
};

} // namespace Melee
