#pragma once

#include "Game/Melee/ProjectileWeapon.h"
#include "Game/Objects/EntityHandle.h"
#include "Game/Objects/EntityModel.h"

#include <memory>

class HomingBehavior;
class ThrustBehavior;

// A shot of a battle ship's weapon: it flies for its lifetime, hurts what it
// meets and ends in an explosion. With a mass of 0 it pushes nothing and is
// pushed by nothing; the shots of one ship pass through each other.
class ProjectileModel : public EntityModel
{
public:
    // The data must outlive the shot; the owner may not.
    ProjectileModel(Model* mesh, Melee::ShipModel& owner, const Melee::ProjectileWeapon::Data& data);
    ~ProjectileModel() override;

    // The exhaust, the flight, then the lifetime: the shot dies in the first
    // step after which less than none is left.
    void Update() override;
    // Makes the homing behaviour, aimed at the owner's target of this moment,
    // and the exhaust, each when the data asks for it.
    void SetController(ControllerInterface* controller) override;
    void OnHit(EntityModel& other) override;
    void OnCollision(EntityModel& other, const Math::Vector& impulse, float contactTime) override;
    // The kill that ends the shot leaves an explosion where it was.
    void Kill() override;

    const HomingBehavior* GetHoming() const { return homing.get(); }
    float GetLifetime() const { return lifetime; }

private:
    void Explode() const;

    const EntityHandle owner;
    const Melee::ProjectileWeapon::Data& data;
    float lifetime;
    std::unique_ptr<HomingBehavior> homing;
    std::unique_ptr<ThrustBehavior> exhaust;
};
