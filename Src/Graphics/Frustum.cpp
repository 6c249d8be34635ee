#include "Graphics/Frustum.h"

#include "Engine/Matrix.h"
#include "Engine/Vector.h"

#include <GL/gl.h>
#include <cmath>

void Frustum::Extract()
{
    GLfloat projection[16];
    GLfloat modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    Extract(Math::MemMatrix(projection) * Math::MemMatrix(modelview));
}

// Each plane is the last row of the product plus or minus one of the others:
// a point is inside the clip volume when -w < x < w, -w < y < w, -w < z < w.
void Frustum::Extract(const Math::MemMatrix& clip)
{
    const struct
    {
        int row;
        float sign;
    } sides[PlaneCount] = {{0, -1}, {0, 1}, {1, 1}, {1, -1}, {2, -1}, {2, 1}};
    for (int p = 0; p < PlaneCount; ++p)
    {
        float* plane = planes[p];
        for (int column = 0; column < 4; ++column)
            plane[column] = clip(column, 3) + sides[p].sign * clip(column, sides[p].row);
        const float length =
            std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
        if (length != 0)
            for (int i = 0; i < 4; ++i)
                plane[i] /= length;
    }
}

bool Frustum::Contains(const Math::Vector& point) const
{
    for (int p = 0; p < PlaneCount; ++p)
        if (Distance(p, point[0], point[1], point[2]) <= 0)
            return false;
    return true;
}

float Frustum::SphereDistance(const Math::Vector& centre, float radius) const
{
    for (int p = 0; p < PlaneCount; ++p)
        if (Distance(p, centre[0], centre[1], centre[2]) <= -radius)
            return -1;
    return radius + Distance(Near, centre[0], centre[1], centre[2]);
}

// The corner farthest along a plane's normal is the last to leave its side.
bool Frustum::ContainsBox(float halfSize, float x, float y, float z) const
{
    for (int p = 0; p < PlaneCount; ++p)
    {
        const float* plane = planes[p];
        const float cx = x + (plane[0] >= 0 ? halfSize : -halfSize);
        const float cy = y + (plane[1] >= 0 ? halfSize : -halfSize);
        const float cz = z + (plane[2] >= 0 ? halfSize : -halfSize);
        if (Distance(p, cx, cy, cz) < 0)
            return false;
    }
    return true;
}

float Frustum::Distance(int plane, float x, float y, float z) const
{
    const float* p = planes[plane];
    return p[0] * x + p[1] * y + p[2] * z + p[3];
}
