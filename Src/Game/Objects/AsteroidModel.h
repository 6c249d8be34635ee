#pragma once

#include "Game/Objects/EntityModel.h"

class DataStore;

// A drifting, spinning rock. A hit does not remove it: it reappears on the
// edge of the middle square with a new velocity. Its random values come from
// the platform's generator, in a fixed order of draws.
class AsteroidModel : public EntityModel
{
public:
    // The mesh "Asteroid", which must exist; a random spin, place and velocity.
    explicit AsteroidModel(DataStore& store);

    // The body's transform, turned by the spin, which advances each rebuild.
    void UpdateTransform() override;
    void OnHit(EntityModel& other) override;
    // Respawns.
    void Kill() override;

    // Back to life at a random point of the square's edge (-100 to 100).
    void Respawn();

    const Math::Vector& GetSpinAxis() const { return spinAxis; }
    float GetSpinAngle() const { return spinAngle; }
    float GetSpinSpeed() const { return spinSpeed; }

private:
    void DrawVelocity();

    Math::Vector spinAxis;
    float spinAngle;
    // Degrees per second.
    float spinSpeed;
};
