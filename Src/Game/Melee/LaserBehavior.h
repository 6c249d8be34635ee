#pragma once

#include "Engine/BehaviorInterface.h"
#include "Game/Objects/WeaponMount.h"
#include "Game/Melee/LaserWeapon.h"

class PositionView;
class Texture;

namespace Melee
{

// The beam of one laser mount: a textured quad from the mount out to the
// laser's range, shown for 83 ms after each shot. Disabled until then.
class LaserBehavior : public BehaviorInterface
{
public:
    // The data and its mount must outlive the beam.
    LaserBehavior(Texture* texture, const LaserWeapon::Data& data, const WeaponMount& mount);

    void SetView(PositionView* shipView) { view = shipView; }
    // Shows the beam for its whole time again.
    void Start();

    // Counts the beam's time down by a step; at its end it is disabled.
    void Update() override;
    // At the ship's drawn place, facing the viewer; only once the texture is
    // ready.
    void Draw() override;

    int GetTimeLeft() const { return timeLeftMs; }

private:
    PositionView* view = nullptr;
    Texture* const texture;
    const LaserWeapon::Data& data;
    const WeaponMount& mount;
    int timeLeftMs = 0;
};

} // namespace Melee
