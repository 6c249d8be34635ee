#pragma once

#include "Engine/Vector.h"
#include "Game/Objects/Object3DModel.h"

#include <memory>

class EntityHandle;

// A body of the two-dimensional world: it moves with its velocity, wraps
// around the arena, meets other bodies by a swept-circle test and answers a
// contact with an impulse. Headings are degrees counter-clockwise from +x.
//
// A positive mass moves and exchanges momentum; a mass of exactly 0 takes part
// in no impulse; a negative mass is immovable (planets).
class EntityModel : public Object3DModel
{
public:
    EntityModel(Model* mesh, int hitPoints, float mass, float radius);
    ~EntityModel() override;
    EntityModel(const EntityModel&) = delete;
    EntityModel& operator=(const EntityModel&) = delete;

    // One fixed step: the heading into 0..360, the move, the wrap at the
    // arena's edges (moving the transform along), then the new transform.
    void Update() override;
    // The translation to the position times the rotation by the display angle.
    void UpdateTransform() override;

    // Both place the body without a sweep: the new transform is also the
    // previous one.
    virtual void SetPosition(float x, float y);
    virtual void SetAngle(float degrees);
    virtual void SetVelocity(float vx, float vy);
    // Changes the heading in flight: the next step's transform shows it.
    void TurnTo(float degrees) { angle = degrees; }

    // The contact test with the other and, on contact, both answers. The game
    // states call it once per pair and step, on the later body of the world.
    virtual void Collide(EntityModel& other);
    // A contact that hurts (planets call it).
    virtual void OnHit(EntityModel& other) = 0;
    // The answer to a contact: the impulse changes the velocity, and the body
    // is put at touching distance. The contact time is the fraction of the
    // step at which they met.
    virtual void OnCollision(EntityModel& other, const Math::Vector& impulse, float contactTime);
    // Takes the amount off the hit points and kills the body below 1.
    virtual void Damage(int amount);
    // Once: the factory takes the body out of the world at the end of the step.
    virtual void Kill();
    // The heading snapped to even whole degrees, toward zero.
    virtual float GetDisplayAngle() const;

    // Whether the two touch now or will within the coming step.
    bool WillCollide(const EntityModel& other) const;
    // Moves on by the fraction of a step.
    void Advance(float fraction);

    EntityHandle GetHandle();

    bool IsAlive() const { return alive; }
    int GetHitPoints() const { return hitPoints; }
    float GetMass() const { return mass; }
    float GetRadius() const { return radius; }
    float GetX() const { return x; }
    float GetY() const { return y; }
    float GetAngle() const { return angle; }
    float GetVelocityX() const { return vx; }
    float GetVelocityY() const { return vy; }

protected:
    bool alive = true;
    int hitPoints;
    float mass;
    float radius;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float angle = 0.0f;
    float vx = 0.0f;
    float vy = 0.0f;

private:
    friend class EntityHandle;

    // Read by the handles; cleared when the body goes.
    const std::shared_ptr<EntityModel*> handleCell;
};
