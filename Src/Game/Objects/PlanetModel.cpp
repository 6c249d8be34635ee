#include "Game/Objects/PlanetModel.h"

#include "Engine/ControllerInterface.h"
#include "Engine/Settings.h"
#include "Game/Objects/ShipModel.h"

#include <cmath>

namespace
{

constexpr float SpinPerSecond = 4.0f;
// Squared distances: the reach of the pull, and where a ship counts as near.
constexpr float PullReachSquared = 10000.0f;
constexpr float NearSquared = 1225.0f;
constexpr float PullStrength = 75.0f;
// Added to the squared touching distance within which nothing is pulled.
constexpr float TouchMargin = 0.1f;

} // namespace

PlanetModel::PlanetModel(Model* mesh, int radius, const ObjectFactoryInterface::ObjectList* world)
    : EntityModel(mesh, 0, -1.0f, static_cast<float>(radius)),
      spinStep(StepSeconds * SpinPerSecond), world(world)
{
}

void PlanetModel::Update()
{
    if (world)
    {
        for (const ControllerInterface* object : *world)
        {
            EntityModel* const body = dynamic_cast<EntityModel*>(object->GetModel());
            if (body && body != this && body->GetMass() != 0)
                Pull(*body);
        }
    }
    spinAngle += spinStep;
    vx = vy = 0.0f;
    EntityModel::Update();
}

// A change of velocity per step, not scaled by the step length.
void PlanetModel::Pull(EntityModel& body) const
{
    const float dx = body.GetX() - x;
    const float dy = body.GetY() - y;
    const float distanceSquared = dx * dx + dy * dy;
    if (!(distanceSquared <= PullReachSquared) || distanceSquared == 0)
        return;
    ShipModel* const ship = dynamic_cast<ShipModel*>(&body);
    if (ship && distanceSquared < NearSquared)
        ship->nearPlanet = true;
    const float touching = body.GetRadius() + radius;
    if (distanceSquared < touching * touching + TouchMargin)
        return;
    const float pull = PullStrength / distanceSquared;
    const float direction = std::atan2(dy, dx);
    body.SetVelocity(body.GetVelocityX() - pull * std::cos(direction),
                     body.GetVelocityY() - pull * std::sin(direction));
}

void PlanetModel::UpdateTransform()
{
    PositionModel::UpdateTransform();
    current = Math::Matrix::Translate(x, y, z) * Math::Matrix::Rotate(180, 1, 0, 0) *
              Math::Matrix::Rotate(tilt, 0, 1, 0) * Math::Matrix::Rotate(spinAngle, 0, 0, 1) *
              Math::Matrix::Scale(radius, radius, radius);
}

void PlanetModel::OnCollision(EntityModel& other, const Math::Vector& /*impulse*/,
                              float /*contactTime*/)
{
    other.OnHit(*this);
    if (other.GetMass() == 0)
        return;
    const Math::Vector normal(other.GetX() - x, other.GetY() - y, 0);
    const float normalSquared = normal.Dot(normal);
    // Centres that coincide give no surface to reflect at.
    if (normalSquared == 0)
        return;
    Math::Vector velocity(other.GetVelocityX(), other.GetVelocityY(), 0);
    velocity -= normal * (2 * velocity.Dot(normal)) / normalSquared;
    other.SetVelocity(velocity[0], velocity[1]);
}
