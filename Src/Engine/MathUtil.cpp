#include "Engine/MathUtil.h"

#include <utility>

std::uint32_t NextPowerOfTwo(int n)
{
    std::uint32_t power = 1;
    while (static_cast<std::int64_t>(power) < n)
    {
        power <<= 1;
    }
    return power;
}

namespace Math
{

bool IsZero(const float& x)
{
    const float bound = 1e-8f;
    return -bound < x && x < bound;
}

void Swap(float& a, float& b)
{
    std::swap(a, b);
}

} // namespace Math
