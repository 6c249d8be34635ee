#include "Engine/MemMatrix.h"

#include "Engine/Matrix.h"
#include "Engine/Vector.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace Math
{
namespace
{

void TransposeUpperLeft(MemMatrix& matrix, int size)
{
    for (int column = 0; column < size; ++column)
    {
        for (int row = column + 1; row < size; ++row)
        {
            std::swap(matrix(column, row), matrix(row, column));
        }
    }
}

} // namespace

MemMatrix& MemMatrix::operator=(const MemMatrix& other)
{
    if (data != other.data)
    {
        std::copy_n(other.data, 16, data);
    }
    return *this;
}

MemMatrix& MemMatrix::operator=(const float* values)
{
    std::copy_n(values, 16, data);
    return *this;
}

MemMatrix& MemMatrix::operator+=(const MemMatrix& other)
{
    for (int i = 0; i < 16; ++i)
    {
        data[i] += other.data[i];
    }
    return *this;
}

MemMatrix& MemMatrix::operator-=(const MemMatrix& other)
{
    for (int i = 0; i < 16; ++i)
    {
        data[i] -= other.data[i];
    }
    return *this;
}

MemMatrix& MemMatrix::operator*=(const MemMatrix& other)
{
    // Collected first, so that other may be this.
    float product[16];
    for (int column = 0; column < 4; ++column)
    {
        for (int row = 0; row < 4; ++row)
        {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
            {
                sum += (*this)(k, row) * other(column, k);
            }
            product[column * 4 + row] = sum;
        }
    }
    return *this = product;
}

Matrix MemMatrix::operator+(const MemMatrix& other) const
{
    Matrix result(*this);
    result += other;
    return result;
}

Matrix MemMatrix::operator-(const MemMatrix& other) const
{
    Matrix result(*this);
    result -= other;
    return result;
}

Matrix MemMatrix::operator*(const MemMatrix& other) const
{
    Matrix result(*this);
    result *= other;
    return result;
}

void MemMatrix::Transpose()
{
    TransposeUpperLeft(*this, 4);
}

void MemMatrix::InvertRigid()
{
    const float t[3] = {data[12], data[13], data[14]};
    for (int i = 0; i < 3; ++i)
    {
        data[12 + i] = -(data[i * 4] * t[0] + data[i * 4 + 1] * t[1] + data[i * 4 + 2] * t[2]);
        data[i * 4 + 3] = 0;
    }
    data[15] = 1;
    TransposeUpperLeft(*this, 3);
}

void MemMatrix::Lerp(const MemMatrix& a, const MemMatrix& b, float t)
{
    for (int i = 0; i < 16; ++i)
    {
        data[i] = a.data[i] * (1 - t) + b.data[i] * t;
    }
}

void MemMatrix::Lerp(const MemMatrix& other, float t)
{
    Lerp(*this, other, t);
}

Vector MemMatrix::GetTranslation() const
{
    return Vector(data[12], data[13], data[14]);
}

Vector MemMatrix::GetTransposedTranslation() const
{
    return Vector(data[3], data[7], data[11]);
}

void MemMatrix::Print(const char* title) const
{
    if (title)
    {
        std::puts(title);
    }
    for (int row = 0; row < 4; ++row)
    {
        for (int column = 0; column < 4; ++column)
        {
            std::printf("%3.3f ", (*this)(column, row));
        }
        std::printf("\n");
    }
}

} // namespace Math
