#include "Engine/Point.h"

namespace Math
{

Point::Point(float x, float y, float z, float w)
{
    Set(x, y, z);
    data[3] = w;
}

Point::Point(const RawMemVector<3>& vector) : Point(vector[0], vector[1], vector[2], 1) {}

} // namespace Math
