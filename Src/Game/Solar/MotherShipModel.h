#pragma once

#include "Game/Objects/ShipModel.h"

class SolarSystemState;

// The player's ship in the solar system. Touching a body lands it on the
// body and reports the body to the state: in the system view the ship enters
// the planet's close view, in the close view it enters the body's orbit.
// Flying too far from the centre reports that it leaves the view. The "x"
// key stops it where it is.
class MotherShipModel : public ShipModel
{
public:
    // The state decides by its view which event a contact raises; the data
    // (always the mother ship's) and the state outlive the ship.
    MotherShipModel(const SolarSystemState& state, const Data& data, DataStore& store);

    // The edges of the view, the contact guard, the height, the brake; then
    // the ship's flight.
    void Update() override;
    // A contact raises its event once; another needs five steps without
    // contact first.
    void OnHit(EntityModel& other) override;
    // Touching another ship asks for a conversation with its race, once per
    // contact as OnHit does, and stops the mother ship.
    void OnShipContact(EntityModel& other);

private:
    void CheckEdges();
    // Restarts the count of steps without contact; true when the contact is
    // the first since the guard cleared, which sets it.
    bool TakeContact();

    const SolarSystemState& state;
    bool contactGuard = false;
    int stepsSinceContact = 0;
};
