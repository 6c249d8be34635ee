#include "Engine/Vector.h"

namespace Math
{

const Vector Vector::Zero(0, 0, 0);
const Vector Vector::AxisX(1, 0, 0);
const Vector Vector::AxisY(0, 1, 0);
const Vector Vector::AxisZ(0, 0, 1);

Vector::Vector(float x, float y, float z)
{
    Set(x, y, z);
}

} // namespace Math
