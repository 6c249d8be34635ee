#include "Engine/RawVector.h"

#include <algorithm>

namespace Math
{

RawVector<3>::RawVector(const float* elements) : RawMemVector(values)
{
    std::copy_n(elements, 3, values);
}

RawVector<3>::RawVector(const RawMemVector<3>& other) : RawVector(other.Data()) {}

RawVector<3>::RawVector(const RawVector& other) : RawVector(other.Data()) {}

RawVector<3>& RawVector<3>::operator=(const RawVector& other)
{
    RawMemVector::operator=(other);
    return *this;
}

RawVector<4>::RawVector(const float* elements) : RawMemVector(values)
{
    std::copy_n(elements, 4, values);
}

RawVector<4>::RawVector(const RawVector& other) : RawVector(other.Data()) {}

RawVector<4>& RawVector<4>::operator=(const RawVector& other)
{
    RawMemVector::operator=(other);
    return *this;
}

} // namespace Math
