#pragma once

#include "Engine/ObjectFactoryInterface.h"
#include "Game/Objects/EntityModel.h"

// An immovable, spinning sphere that pulls the bodies within 100 units and
// bounces those that touch it off its surface. It cannot be hurt or removed.
class PlanetModel : public EntityModel
{
public:
    // The mesh is a unit sphere drawn at the radius. Without a world list the
    // planet pulls nothing.
    PlanetModel(Model* mesh, int radius, const ObjectFactoryInterface::ObjectList* world);

    // The pull, the spin; the planet never drifts.
    void Update() override;
    // At the planet's place, tilted and spinning, scaled to its radius.
    void UpdateTransform() override;
    // Hits the other and reflects its velocity at the surface.
    void OnCollision(EntityModel& other, const Math::Vector& impulse, float contactTime) override;
    void OnHit(EntityModel& /*other*/) override {}
    void Damage(int /*amount*/) override {}
    void Kill() override {}

    float GetSpinAngle() const { return spinAngle; }

protected:
    float spinAngle = 0.0f;
    // Degrees.
    float tilt = 15.0f;
    // Degrees added to the spin each step.
    float spinStep;

private:
    void Pull(EntityModel& body) const;

    const ObjectFactoryInterface::ObjectList* const world;
};
