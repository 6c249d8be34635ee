#include "Platform/Random.h"

#include <cstdint>

namespace Platform
{

namespace
{
std::uint32_t state = 1;
}

void SeedRandom(unsigned seed)
{
    state = seed;
}

int Random()
{
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

} // namespace Platform
