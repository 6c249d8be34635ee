#include "Engine/PreciseTime.h"

#include "Platform/Clock.h"

#include <cstdint>

namespace
{
std::int64_t frequency = 1;
}

PreciseTime::PreciseTime()
{
    frequency = Platform::ClockFrequency();
}

double GetPreciseTime()
{
    return static_cast<double>(Platform::ReadClock()) / static_cast<double>(frequency);
}
