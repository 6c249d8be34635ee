#pragma once

namespace Platform
{

// The game's pseudo-random generator. Generated layouts (the solar system, the
// battle's star layer, the asteroids) depend on its exact sequence, so it is
// our own linear congruential generator rather than the C library's.
constexpr int RandomMax = 32767;

void SeedRandom(unsigned seed);

// The next value, from 0 to RandomMax.
int Random();

} // namespace Platform
