#pragma once

#include "Engine/BehaviorInterface.h"
#include "Game/Objects/EntityHandle.h"

// Turns a shot toward its target by the shortest way across the wrapped arena
// and keeps it flying at its speed along its heading. A target that has been
// deleted counts as none, and the shot flies straight on.
class HomingBehavior : public BehaviorInterface
{
public:
    static constexpr int TypeId = 1;

    // The owner (the shot) deletes the behaviour. The target may be null; the
    // turn step is in degrees per step, the speed in units per second.
    // Enabled.
    HomingBehavior(EntityModel* owner, EntityModel* target, float turnStep, float speed);

    void Update() override;
    void Draw() override {}

    EntityModel* GetTarget() const { return target.Get(); }

private:
    EntityModel* const owner;
    const EntityHandle target;
    const float turnStep;
    const float speed;
};
