#pragma once

#include "Engine/RawMemVector.h"

namespace Math
{

// A vector that owns its N floats; data points at them for its whole life,
// so copies and assignments copy values.
template <int N>
class RawVector;

template <>
class RawVector<3> : public RawMemVector<3>
{
public:
    // The values are left unset.
    RawVector() : RawMemVector(values) {}
    explicit RawVector(const float* elements);
    RawVector(const RawMemVector<3>& other);
    RawVector(const RawVector& other);

    RawVector& operator=(const RawVector& other);
    using RawMemVector<3>::operator=;

private:
    float values[3];
};

template <>
class RawVector<4> : public RawMemVector<4>
{
public:
    // The values are left unset.
    RawVector() : RawMemVector(values) {}
    explicit RawVector(const float* elements);
    RawVector(const RawVector& other);

    RawVector& operator=(const RawVector& other);
    using RawMemVector<4>::operator=;

private:
    float values[4];
};

} // namespace Math
