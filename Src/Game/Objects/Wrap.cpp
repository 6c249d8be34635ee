#include "Game/Objects/Wrap.h"

#include <cmath>

namespace
{

// Beyond this a loop would take too many turns, or subtracting a period would
// no longer change a float.
constexpr float LoopLimit = 1.0e6f;

} // namespace

void Wrap(float& value, float low, float high, float period, float* follower)
{
    if (!(std::fabs(value) < LoopLimit))
    {
        const float reduced = std::fmod(value, period);
        if (follower)
            *follower += reduced - value;
        value = reduced;
    }
    while (value > high)
    {
        value -= period;
        if (follower)
            *follower -= period;
    }
    while (value < low)
    {
        value += period;
        if (follower)
            *follower += period;
    }
}

void WrapArena(float& value, float* follower)
{
    Wrap(value, -ArenaHalf, ArenaHalf, ArenaSize, follower);
}
