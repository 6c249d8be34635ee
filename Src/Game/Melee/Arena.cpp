#include "Game/Melee/Arena.h"

#include "Game/Objects/Wrap.h"

#include <algorithm>

namespace Melee
{

const float ZoomDistances[8] = {10, 30, 70, 130, 210, 340, 550, 890};

Math::Vector WrappedDifference(const Math::Vector& from, const Math::Vector& to)
{
    Math::Vector difference = to - from;
    WrapArena(difference[0]);
    WrapArena(difference[1]);
    return difference;
}

Math::Vector ArenaCentre(const std::vector<Math::Vector>& ships)
{
    Math::Vector centre = ships.front();
    if (ships.size() > 1)
        centre += WrappedDifference(centre, ships[1]) * 0.5f;
    return centre;
}

float ChooseDistance(const ZoomTable& zoom, const Math::Vector& centre,
                     const std::vector<Math::Vector>& ships, float current)
{
    float farthest = 0;
    for (const Math::Vector& ship : ships)
    {
        const Math::Vector away = WrappedDifference(ship, centre);
        farthest = std::max(farthest, away.Dot(away));
    }
    float previous = 0;
    for (const ZoomStep& step : zoom)
    {
        if (previous < farthest && farthest < step.reachSquared)
            return step.distance;
        previous = step.reachSquared;
    }
    return current;
}

// The offset follows the difference by the same whole turns of the arena.
Math::Vector DrawingOffset(const Math::Vector& position, const Math::Vector& centre)
{
    Math::Vector offset;
    for (int axis = 0; axis < 2; ++axis)
    {
        float away = position[axis] - centre[axis];
        WrapArena(away, &offset[axis]);
    }
    return offset;
}

} // namespace Melee
