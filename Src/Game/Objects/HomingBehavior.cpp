#include "Game/Objects/HomingBehavior.h"

#include "Game/Objects/Angles.h"
#include "Game/Objects/EntityModel.h"
#include "Game/Objects/Wrap.h"

#include <cmath>

namespace
{

// The difference of two headings, brought into -180..180.
float TurnBetween(float from, float to)
{
    float turn = to - from;
    Wrap(turn, -180.0f, 180.0f, 360.0f);
    return turn;
}

} // namespace

HomingBehavior::HomingBehavior(EntityModel* owner, EntityModel* target, float turnStep, float speed)
    : BehaviorInterface(TypeId, nullptr), owner(owner), target(target), turnStep(turnStep),
      speed(speed)
{
    SetEnabled(true);
}

void HomingBehavior::Update()
{
    const EntityModel* const aim = target.Get();
    if (!aim)
        return;
    float dx = aim->GetX() - owner->GetX();
    float dy = aim->GetY() - owner->GetY();
    WrapArena(dx);
    WrapArena(dy);
    const float wanted = static_cast<float>(std::atan2(dy, dx) * DegreesPerRadian);
    const float turn = TurnBetween(owner->GetAngle(), wanted);
    float heading = owner->GetAngle();
    if (turn < 0)
        heading -= turnStep;
    else if (turn > 0)
        heading += turnStep;
    // Overshooting the wanted heading snaps to it.
    if (turn * TurnBetween(heading, wanted) < 0)
        heading = wanted;
    owner->TurnTo(heading);
    const float radians = owner->GetDisplayAngle() * RadiansPerDegree;
    owner->SetVelocity(speed * std::cos(radians), speed * std::sin(radians));
}
