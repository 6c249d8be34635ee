#include "Game/Solar/MotherShipModel.h"

#include "Engine/GameEvents.h"
#include "Game/Objects/ShipModelData.h"
#include "Game/Solar/SolarPlanetModel.h"
#include "Game/Solar/SolarSystemState.h"

namespace
{

// Squared distances from the centre beyond which the ship leaves the planet
// view, and the solar system.
const float PlanetViewEdgeSquared = 625.0f;
const float SystemEdgeSquared = 1225.0f;
// Steps without contact after which a contact counts again.
const int ContactSteps = 4;
// The height the ship sinks by each step after a landing.
const float SinkPerStep = 0.1f;

} // namespace

MotherShipModel::MotherShipModel(const SolarSystemState& state, const Data& data,
                                 DataStore& store)
    : ShipModel(data, store), state(state)
{
}

void MotherShipModel::Update()
{
    CheckEdges();
    if (contactGuard && ++stepsSinceContact > ContactSteps)
        contactGuard = false;
    z = z > SinkPerStep ? z - SinkPerStep : 0.0f;
    if (controls.fireSecondary)
        vx = vy = 0.0f;
    ShipModel::Update();
}

// Every step beyond the edge reports it again, and stops the ship, so that
// it creeps on by one step's thrust at a time.
void MotherShipModel::CheckEdges()
{
    const float distanceSquared = x * x + y * y;
    const bool onPlanet = state.GetOnPlanet() == 1;
    if (onPlanet && distanceSquared > PlanetViewEdgeSquared)
        Event::Send(Event::LeavePlanet());
    else if (state.GetOnPlanet() == 0 && distanceSquared > SystemEdgeSquared)
        Event::Send(Event::LeaveSolarSystem());
    else
        return;
    vx = vy = 0.0f;
}

void MotherShipModel::OnHit(EntityModel& other)
{
    SolarPlanetModel* const body = dynamic_cast<SolarPlanetModel*>(&other);
    const float touching = radius + other.GetRadius();
    if (body && z < touching)
        z = touching;
    if (!TakeContact() || !body)
        return;
    x = body->GetX();
    y = body->GetY();
    z = touching;
    vx = vy = 0.0f;
    Event::Send(state.GetOnPlanet() == 0 ? Event::EnterPlanet(body) : Event::EnterOrbit(body));
}

void MotherShipModel::OnShipContact(EntityModel& other)
{
    const ShipModel* const ship = dynamic_cast<const ShipModel*>(&other);
    if (!TakeContact() || !ship)
        return;
    Event::Send(Event::OpenConversation(ship->GetData().race));
    vx = vy = 0.0f;
}

bool MotherShipModel::TakeContact()
{
    stepsSinceContact = 0;
    if (contactGuard)
        return false;
    contactGuard = true;
    return true;
}
