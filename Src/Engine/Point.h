#pragma once

#include "Engine/RawVector.h"

namespace Math
{

// The everyday 4-vector: owns x, y, z, w. Its copies copy the values, as every
// RawVector does.
class Point : public RawVector<4>
{
public:
    Point() : Point(0, 0, 0, 1) {}
    Point(float x, float y, float z, float w);
    // w is 1.
    explicit Point(const RawMemVector<3>& vector);
    Point(const RawMemVector<4>& other) : RawVector(other.Data()) {}
    // Reads four floats.
    explicit Point(const float* elements) : RawVector(elements) {}

    using RawVector::operator=;
};

} // namespace Math
