#include "Engine/Matrix.h"

#include "Engine/MathUtil.h"

#include <cmath>

namespace Math
{

const Matrix Matrix::Identity = Matrix::MakeIdentity();

Matrix::Matrix(const float* elements) : MemMatrix(values)
{
    MemMatrix::operator=(elements);
}

Matrix::Matrix(const Matrix& other) : MemMatrix(values)
{
    MemMatrix::operator=(other);
}

Matrix::Matrix(const MemMatrix& other) : MemMatrix(values)
{
    MemMatrix::operator=(other);
}

Matrix& Matrix::operator=(const Matrix& other)
{
    MemMatrix::operator=(other);
    return *this;
}

Matrix Matrix::MakeIdentity()
{
    Matrix identity;
    for (int i = 0; i < 16; ++i)
    {
        identity[i] = i % 5 == 0 ? 1.0f : 0.0f;
    }
    return identity;
}

Matrix Matrix::Scale(float x, float y, float z)
{
    Matrix scale = MakeIdentity();
    scale[0] = x;
    scale[5] = y;
    scale[10] = z;
    return scale;
}

Matrix Matrix::Translate(float x, float y, float z, bool transpose)
{
    Matrix translation = MakeIdentity();
    translation[12] = x;
    translation[13] = y;
    translation[14] = z;
    if (transpose)
    {
        translation.Transpose();
    }
    return translation;
}

Matrix Matrix::Translate(const RawMemVector<3>& offset, bool transpose)
{
    return Translate(offset[0], offset[1], offset[2], transpose);
}

Matrix Matrix::Rotate(float angle, float x, float y, float z, bool transpose)
{
    const double radians = angle * Pi<double> / 180;
    const float c = static_cast<float>(std::cos(radians));
    const float s = static_cast<float>(std::sin(radians));
    const float lengthSquared = x * x + y * y + z * z;
    if (lengthSquared != 0 && lengthSquared != 1)
    {
        const float length = std::sqrt(lengthSquared);
        x /= length;
        y /= length;
        z /= length;
    }
    const float k = 1 - c;

    Matrix rotation = MakeIdentity();
    rotation[0] = x * x * k + c;
    rotation[4] = x * y * k - z * s;
    rotation[8] = x * z * k + y * s;
    rotation[1] = x * y * k + z * s;
    rotation[5] = y * y * k + c;
    rotation[9] = y * z * k - x * s;
    rotation[2] = x * z * k - y * s;
    rotation[6] = y * z * k + x * s;
    rotation[10] = z * z * k + c;
    if (transpose)
    {
        rotation.Transpose();
    }
    return rotation;
}

Matrix Matrix::Rotate(float angle, const RawMemVector<3>& axis, bool transpose)
{
    return Rotate(angle, axis[0], axis[1], axis[2], transpose);
}

} // namespace Math
