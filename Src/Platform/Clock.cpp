#include "Platform/Clock.h"

#include <time.h>

namespace Platform
{

namespace
{
constexpr std::int64_t NanosecondsPerSecond = 1000000000;
}

std::int64_t ReadClock()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * NanosecondsPerSecond + now.tv_nsec;
}

std::int64_t ClockFrequency()
{
    return NanosecondsPerSecond;
}

} // namespace Platform
