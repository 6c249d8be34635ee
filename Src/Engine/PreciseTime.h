#pragma once

// Constructed once at start-up: stores the clock's frequency that
// GetPreciseTime divides by. Until then the frequency is 1.
class PreciseTime
{
public:
    PreciseTime();
};

// Seconds since an arbitrary origin on the high-resolution clock.
double GetPreciseTime();
