#pragma once

#include <cstdint>

// The smallest power of two not below n; 1 for every n up to 1. Every int has
// an answer: above 2^30 it is 2^31.
std::uint32_t NextPowerOfTwo(int n);

namespace Math
{

// In the precision of the type: Pi<float>, Pi<double>.
template <class T>
constexpr T Pi = static_cast<T>(3.14159265358979323846);

// True when x lies strictly between -1e-8 and 1e-8.
bool IsZero(const float& x);

void Swap(float& a, float& b);

} // namespace Math
