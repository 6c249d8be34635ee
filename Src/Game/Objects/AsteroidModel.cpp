#include "Game/Objects/AsteroidModel.h"

#include "Engine/Settings.h"
#include "Game/Objects/Wrap.h"
#include "Platform/Random.h"

namespace
{

constexpr int HitPoints = 1;
constexpr float Mass = 5.0f;
constexpr float Radius = 1.3f;

// A value from -half to half - 1 in whole units.
float DrawCentred(int half)
{
    return static_cast<float>(Platform::Random() % (2 * half) - half);
}

float DrawAxisComponent()
{
    return static_cast<float>(Platform::Random() % 1000 / 1000.0);
}

} // namespace

AsteroidModel::AsteroidModel(DataStore& store)
    : EntityModel(RequireMesh(store, "Asteroid"), HitPoints, Mass, Radius)
{
    // The first draw is the z component, the last the x one.
    const float axisZ = DrawAxisComponent();
    const float axisY = DrawAxisComponent();
    const float axisX = DrawAxisComponent();
    spinAxis.Set(axisX, axisY, axisZ);
    spinAngle = static_cast<float>(Platform::Random() % 360);
    spinSpeed = static_cast<float>((Platform::Random() % 2000 - 1000) / 10.0);
    spinAxis.Normalize();
    // Rotating about a zero axis would squash the rock.
    if (spinAxis.IsZero())
        spinAxis = Math::Vector::AxisZ;
    x = DrawCentred(100);
    y = DrawCentred(100);
    DrawVelocity();
}

void AsteroidModel::UpdateTransform()
{
    EntityModel::UpdateTransform();
    spinAngle += StepSeconds * spinSpeed;
    Wrap(spinAngle, 0.0f, 360.0f, 360.0f);
    current *= Math::Matrix::Rotate(spinAngle, spinAxis);
}

void AsteroidModel::OnHit(EntityModel& /*other*/)
{
    Kill();
}

void AsteroidModel::Kill()
{
    Respawn();
}

void AsteroidModel::Respawn()
{
    const float along = DrawCentred(100);
    switch (Platform::Random() % 4)
    {
    case 0:
        SetPosition(100, along);
        break;
    case 1:
        SetPosition(-100, along);
        break;
    case 2:
        SetPosition(along, 100);
        break;
    default:
        SetPosition(along, -100);
        break;
    }
    DrawVelocity();
    alive = true;
}

void AsteroidModel::DrawVelocity()
{
    vx = DrawCentred(25);
    vy = DrawCentred(25);
}
