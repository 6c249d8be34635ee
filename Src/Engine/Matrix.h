#pragma once

#include "Engine/MemMatrix.h"
#include "Engine/RawMemVector.h"

namespace Math
{

// A matrix that owns its 16 floats; data points at them for its whole life.
class Matrix : public MemMatrix
{
public:
    // The values are left unset.
    Matrix() : MemMatrix(values) {}
    explicit Matrix(const float* elements);
    Matrix(const Matrix& other);
    Matrix(const MemMatrix& other);

    Matrix& operator=(const Matrix& other);
    using MemMatrix::operator=;

    static Matrix Scale(float x, float y, float z);
    static Matrix Translate(float x, float y, float z, bool transpose = false);
    static Matrix Translate(const RawMemVector<3>& offset, bool transpose = false);
    // The rotation of glRotatef: angle in degrees about the axis, normalised
    // unless its length is 0; transposed, it is the inverse rotation.
    static Matrix Rotate(float angle, float x, float y, float z, bool transpose = false);
    static Matrix Rotate(float angle, const RawMemVector<3>& axis, bool transpose = false);

    static const Matrix Identity;

private:
    static Matrix MakeIdentity();

    float values[16];
};

} // namespace Math
