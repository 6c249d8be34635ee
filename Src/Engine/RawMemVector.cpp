#include "Engine/RawMemVector.h"

#include "Engine/MemMatrix.h"
#include "Engine/RawVector.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>

namespace Math
{
namespace
{

// vector = M vector over the first size rows and columns of M.
void Transform(const MemMatrix& matrix, float* vector, int size)
{
    float result[4];
    for (int row = 0; row < size; ++row)
    {
        float sum = 0;
        for (int column = 0; column < size; ++column)
        {
            sum += matrix(column, row) * vector[column];
        }
        result[row] = sum;
    }
    std::copy_n(result, size, vector);
}

void Assign(float* target, const float* source, int size)
{
    if (target != source)
    {
        std::copy_n(source, size, target);
    }
}

} // namespace

void RawMemVector<3>::Set(float x, float y, float z)
{
    data[0] = x;
    data[1] = y;
    data[2] = z;
}

RawMemVector<3>& RawMemVector<3>::operator=(const RawMemVector& other)
{
    Assign(data, other.data, 3);
    return *this;
}

RawMemVector<3>& RawMemVector<3>::operator+=(const RawMemVector& other)
{
    for (int i = 0; i < 3; ++i)
    {
        data[i] += other.data[i];
    }
    return *this;
}

RawMemVector<3>& RawMemVector<3>::operator-=(const RawMemVector& other)
{
    for (int i = 0; i < 3; ++i)
    {
        data[i] -= other.data[i];
    }
    return *this;
}

// The scalar is copied first: it may be one of this vector's own components.
RawMemVector<3>& RawMemVector<3>::operator*=(const float& scale)
{
    const float factor = scale;
    for (int i = 0; i < 3; ++i)
    {
        data[i] *= factor;
    }
    return *this;
}

RawMemVector<3>& RawMemVector<3>::operator/=(const float& divisor)
{
    const float value = divisor;
    for (int i = 0; i < 3; ++i)
    {
        data[i] /= value;
    }
    return *this;
}

RawMemVector<3>& RawMemVector<3>::operator+=(const float& offset)
{
    const float value = offset;
    for (int i = 0; i < 3; ++i)
    {
        data[i] += value;
    }
    return *this;
}

RawMemVector<3>& RawMemVector<3>::operator*=(const MemMatrix& matrix)
{
    Transform(matrix, data, 3);
    return *this;
}

RawVector<3> RawMemVector<3>::operator+(const RawMemVector& other) const
{
    RawVector<3> result(*this);
    result += other;
    return result;
}

RawVector<3> RawMemVector<3>::operator-(const RawMemVector& other) const
{
    RawVector<3> result(*this);
    result -= other;
    return result;
}

RawVector<3> RawMemVector<3>::operator*(const float& scale) const
{
    RawVector<3> result(*this);
    result *= scale;
    return result;
}

RawVector<3> RawMemVector<3>::operator/(const float& divisor) const
{
    RawVector<3> result(*this);
    result /= divisor;
    return result;
}

RawVector<3> RawMemVector<3>::operator-() const
{
    return *this * -1.0f;
}

RawVector<3> RawMemVector<3>::operator*(const MemMatrix& matrix) const
{
    RawVector<3> result(*this);
    result *= matrix;
    return result;
}

float RawMemVector<3>::Dot(const RawMemVector& other) const
{
    return data[0] * other.data[0] + data[1] * other.data[1] + data[2] * other.data[2];
}

RawVector<3> RawMemVector<3>::Cross(const RawMemVector& other) const
{
    const float* o = other.data;
    const float cross[3] = {data[1] * o[2] - data[2] * o[1], data[2] * o[0] - data[0] * o[2],
                            data[0] * o[1] - data[1] * o[0]};
    return RawVector<3>(cross);
}

float RawMemVector<3>::Length() const
{
    return std::sqrt(Dot(*this));
}

void RawMemVector<3>::Normalize()
{
    const float length = Length();
    if (length != 0)
    {
        *this /= length;
    }
}

bool RawMemVector<3>::IsZero() const
{
    return data[0] == 0 && data[1] == 0 && data[2] == 0;
}

void RawMemVector<3>::Translate() const
{
    glTranslatef(data[0], data[1], data[2]);
}

void RawMemVector<3>::Draw(float scale) const
{
    if (IsZero())
    {
        return;
    }
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
    glLineWidth(6);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBegin(GL_LINES);
    glVertex3f(0, 0, 0);
    glVertex3f(data[0] * scale, data[1] * scale, data[2] * scale);
    glEnd();
    glLineWidth(1);
    glPopAttrib();
}

void RawMemVector<4>::Set(float x, float y, float z)
{
    RawMemVector<3>(data).Set(x, y, z);
}

RawMemVector<4>& RawMemVector<4>::operator=(const RawMemVector& other)
{
    Assign(data, other.data, 4);
    return *this;
}

RawMemVector<4>& RawMemVector<4>::operator*=(const MemMatrix& matrix)
{
    Transform(matrix, data, 4);
    return *this;
}

RawVector<4> RawMemVector<4>::operator*(const MemMatrix& matrix) const
{
    RawVector<4> result(data);
    result *= matrix;
    return result;
}

float RawMemVector<4>::Dot(const RawMemVector& other) const
{
    float sum = 0;
    for (int i = 0; i < 4; ++i)
    {
        sum += data[i] * other.data[i];
    }
    return sum;
}

void RawMemVector<4>::Translate() const
{
    RawMemVector<3>(data).Translate();
}

} // namespace Math
