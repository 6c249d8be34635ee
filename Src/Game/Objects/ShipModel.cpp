#include "Game/Objects/ShipModel.h"

#include "Engine/ControllerInterface.h"
#include "Engine/Settings.h"
#include "Game/Objects/Angles.h"
#include "Game/Objects/ShipModelData.h"
#include "Game/Objects/ThrustBehavior.h"

#include <cmath>

namespace
{

// The speed limit near a planet, squared: a speed of 200.
constexpr float NearPlanetSpeedSquared = 40000.0f;

PidController MakeSpring(const ShipModel::Data::Gains& gains)
{
    return PidController(gains.p, gains.i, gains.d);
}

} // namespace

ShipModel::ShipModel(const Data& data, DataStore& store)
    : EntityModel(RequireMesh(store, data.resource), data.crew, data.mass, data.radius), data(data),
      pitch(MakeSpring(data.pitchGains)), roll(MakeSpring(data.rollGains)), store(store)
{
}

ShipModel::~ShipModel() = default;

void ShipModel::Update()
{
    pitch.target = 0.0f;
    if (controls.thrust)
        Thrust();
    nearPlanet = false;
    Turn();
    Spring(pitch, pitchRate);
    Spring(roll, rollRate);
    EntityModel::Update();
}

void ShipModel::SetController(ControllerInterface* controller)
{
    exhaust = std::make_unique<ThrustBehavior>(&data.engines);
    controller->AddBehavior(exhaust.get());
}

void ShipModel::UpdateTransform()
{
    EntityModel::UpdateTransform();
    current *= Math::Matrix::Rotate(roll.Value(), 1, 0, 0);
    current *= Math::Matrix::Rotate(pitch.Value(), 0, 1, 0);
}

void ShipModel::OnHit(EntityModel& /*other*/)
{
    hitPoints /= 2;
    if (hitPoints < 1)
        Kill();
}

// The gain along the new velocity shrinks to nothing at the speed limit and
// turns into braking above it; the ship leans forward when slow.
void ShipModel::Thrust()
{
    const float heading = GetDisplayAngle() * RadiansPerDegree;
    vx += data.acceleration * std::cos(heading);
    vy += data.acceleration * std::sin(heading);
    const float limit = nearPlanet ? NearPlanetSpeedSquared : data.maxSpeedSquared;
    const float share = (limit - (vx * vx + vy * vy)) / limit;
    pitch.target = -data.pitchTarget * share;
    const float direction = std::atan2(vy, vx);
    vx -= (1 - share) * data.acceleration * std::cos(direction);
    vy -= (1 - share) * data.acceleration * std::sin(direction);
    if (exhaust)
        exhaust->Emit(current, Math::Vector(vx, vy, 0));
}

void ShipModel::Turn()
{
    if (controls.turnLeft == controls.turnRight)
    {
        roll.target = 0.0f;
    }
    else if (controls.turnLeft)
    {
        angle += StepSeconds * data.turningSpeed;
        roll.target = -data.rollTarget;
    }
    else
    {
        angle -= StepSeconds * data.turningSpeed;
        roll.target = data.rollTarget;
    }
}

// The spring's output is an angular acceleration.
void ShipModel::Spring(PidController& spring, float& rate)
{
    rate += spring.Update(StepSeconds);
    spring.Value() += StepSeconds * rate;
}
