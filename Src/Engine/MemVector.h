#pragma once

#include "Engine/RawMemVector.h"

namespace Math
{

// A 3-vector view. Made from another vector it views the same floats; made
// from a 4-vector it views its x, y, z.
class MemVector : public RawMemVector<3>
{
public:
    explicit MemVector(float* data) : RawMemVector(data) {}
    MemVector(RawMemVector<3>& other) : RawMemVector(other) {}
    explicit MemVector(RawMemVector<4>& point) : RawMemVector(point.Data()) {}

    using RawMemVector::operator=;
};

} // namespace Math
