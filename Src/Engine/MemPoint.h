#pragma once

#include "Engine/RawMemVector.h"

namespace Math
{

// A 4-vector view; made from another 4-vector it views the same floats.
class MemPoint : public RawMemVector<4>
{
public:
    explicit MemPoint(float* data) : RawMemVector(data) {}
    MemPoint(RawMemVector<4>& other) : RawMemVector(other) {}

    using RawMemVector::operator=;
};

} // namespace Math
