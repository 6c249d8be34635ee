#pragma once

#include "Engine/Vector.h"

class DataStore;
class PositionView;
class Sample;

namespace Melee
{

class ShipModel;

// A weapon of a battle ship: one shot from each of its mounts. Its parameters
// are read with the ship definition; the kinds make the shots.
class Weapon
{
public:
    class Data;

    // The data and the ship must outlive the weapon. A missing fire sound
    // leaves the weapon silent.
    Weapon(const Data& data, ShipModel& ship, DataStore& store);
    virtual ~Weapon();
    Weapon(const Weapon&) = delete;
    Weapon& operator=(const Weapon&) = delete;

    // Once per step and once per frame.
    virtual void Update() {}
    virtual void Draw() {}
    // The ship's view, made after its weapons.
    virtual void SetView(PositionView* shipView);
    // Plays the sound once and spawns a shot at each mount, placed by the
    // ship's current transform. Always true.
    bool Fire();
    // Makes the shot of one mount: the heading in degrees, the place in the
    // arena plane.
    virtual void Spawn(float heading, const Math::Vector& position) = 0;

    const Data& GetData() const { return data; }

protected:
    const Data& data;
    ShipModel& ship;
    PositionView* view = nullptr;
    Sample* const sound;
};

} // namespace Melee
