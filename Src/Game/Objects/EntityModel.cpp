#include "Game/Objects/EntityModel.h"

#include "Engine/ObjectFactoryInterface.h"
#include "Engine/Settings.h"
#include "Game/Objects/EntityHandle.h"
#include "Game/Objects/Wrap.h"

#include <algorithm>
#include <climits>
#include <cmath>

EntityModel::EntityModel(Model* mesh, int hitPoints, float mass, float radius)
    : Object3DModel(mesh), hitPoints(hitPoints), mass(mass), radius(radius),
      handleCell(std::make_shared<EntityModel*>(this))
{
}

EntityModel::~EntityModel()
{
    *handleCell = nullptr;
}

void EntityModel::Update()
{
    Wrap(angle, 0.0f, 360.0f, 360.0f);
    x += vx * StepSeconds;
    y += vy * StepSeconds;
    // The transform wraps with the position, so the body is drawn moving on
    // from the opposite edge instead of sweeping across the arena.
    WrapArena(x, &current[12]);
    WrapArena(y, &current[13]);
    PositionModel::Update();
}

void EntityModel::UpdateTransform()
{
    PositionModel::UpdateTransform();
    current = Math::Matrix::Translate(x, y, z) * Math::Matrix::Rotate(GetDisplayAngle(), 0, 0, 1);
}

void EntityModel::SetPosition(float newX, float newY)
{
    x = newX;
    y = newY;
    UpdateTransform();
    previous = current;
}

void EntityModel::SetAngle(float degrees)
{
    angle = degrees;
    UpdateTransform();
    previous = current;
}

void EntityModel::SetVelocity(float newVx, float newVy)
{
    vx = newVx;
    vy = newVy;
}

void EntityModel::Collide(EntityModel& other)
{
    if (!alive || !other.alive)
        return;
    const float contactTime = WillCollide(other) ? 1.0f : 0.0f;
    if (!(contactTime > 0))
        return;
    Math::Vector impulse(vx - other.vx, vy - other.vy, 0);
    if (mass > 0 && other.mass > 0)
        impulse *= 2 * mass * other.mass / (mass + other.mass);
    else if (mass == 0 || other.mass == 0)
        impulse = Math::Vector::Zero;
    OnCollision(other, -impulse, contactTime);
    other.OnCollision(*this, impulse, contactTime);
}

void EntityModel::OnCollision(EntityModel& other, const Math::Vector& impulse,
                              float /*contactTime*/)
{
    if (!(mass > 0))
        return;
    vx += impulse[0] / mass;
    vy += impulse[1] / mass;
    if (other.mass == 0)
        return;
    const float direction = std::atan2(other.y - y, other.x - x);
    const float touching = radius + other.radius;
    x = other.x - touching * std::cos(direction);
    y = other.y - touching * std::sin(direction);
}

void EntityModel::Damage(int amount)
{
    // Hit points from the data cannot overflow.
    const long long left = static_cast<long long>(hitPoints) - amount;
    hitPoints = static_cast<int>(std::clamp<long long>(left, INT_MIN, INT_MAX));
    if (hitPoints < 1)
        Kill();
}

void EntityModel::Kill()
{
    if (!alive)
        return;
    ObjectFactoryInterface::KillByModel(this);
    alive = false;
}

float EntityModel::GetDisplayAngle() const
{
    return std::trunc(angle / 2) * 2;
}

// The swept-circle test over one step, solved for the fraction of the step at
// which the distance first equals the sum of the radii.
bool EntityModel::WillCollide(const EntityModel& other) const
{
    const float dx = other.x - x;
    const float dy = other.y - y;
    const float touching = radius + other.radius;
    const float c = dx * dx + dy * dy - touching * touching;
    if (c < 0)
        return true;
    const float mx = (other.vx - vx) * StepSeconds;
    const float my = (other.vy - vy) * StepSeconds;
    const float b = dx * mx + dy * my;
    if (!(b < 0))
        return false;
    const float a = mx * mx + my * my;
    if (!(a + b > 0 || 2 * b + a + c < 0))
        return false;
    // b^2 - ac, written so that bodies touching exactly give a first contact
    // of exactly 0.
    const float q = b * b - a * c;
    if (!(q > 0))
        return false;
    const float firstContact = (-b - std::sqrt(q)) / a;
    return firstContact > 0;
}

void EntityModel::Advance(float fraction)
{
    x += vx * StepSeconds * fraction;
    y += vy * StepSeconds * fraction;
    UpdateTransform();
}

EntityHandle EntityModel::GetHandle()
{
    return EntityHandle(this);
}
