#pragma once

#include <cstdint>

namespace Platform
{

// A monotonic high-resolution clock: ticks since an arbitrary origin.
std::int64_t ReadClock();

// Ticks per second of ReadClock.
std::int64_t ClockFrequency();

} // namespace Platform
