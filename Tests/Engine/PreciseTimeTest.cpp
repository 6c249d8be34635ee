#include "Engine/PreciseTime.h"

#include "Platform/Clock.h"

#include <gtest/gtest.h>

namespace
{

TEST(PreciseTimeTest, CountsSecondsOfThePlatformClock)
{
    const PreciseTime precise;
    const double seconds = static_cast<double>(Platform::ClockFrequency());
    const double before = static_cast<double>(Platform::ReadClock()) / seconds;
    const double now = GetPreciseTime();
    const double after = static_cast<double>(Platform::ReadClock()) / seconds;
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
}

} // namespace
