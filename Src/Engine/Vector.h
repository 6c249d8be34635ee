#pragma once

#include "Engine/RawVector.h"

namespace Math
{

// The everyday 3-vector: owns x, y, z. Its copies copy the values, as every
// RawVector does.
class Vector : public RawVector<3>
{
public:
    Vector() : Vector(0, 0, 0) {}
    Vector(float x, float y, float z);
    Vector(const RawMemVector<3>& other) : RawVector(other) {}
    explicit Vector(const float* elements) : RawVector(elements) {}

    using RawVector::operator=;

    static const Vector Zero;
    static const Vector AxisX;
    static const Vector AxisY;
    static const Vector AxisZ;
};

} // namespace Math
