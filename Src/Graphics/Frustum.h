#pragma once

namespace Math
{
class MemMatrix;
class Vector;
} // namespace Math

// The six planes that bound what a view-projection shows, for culling: a
// point is inside when it lies on the positive side of every plane.
class Frustum
{
public:
    enum Plane
    {
        Right,
        Left,
        Bottom,
        Top,
        Far,
        Near,
        PlaneCount
    };

    // From the product of OpenGL's current projection and modelview matrices.
    void Extract();
    // From a projection x modelview product.
    void Extract(const Math::MemMatrix& clip);

    bool Contains(const Math::Vector& point) const;
    // The sphere's distance from the near plane plus its radius, or -1 when the
    // sphere lies wholly outside some plane.
    float SphereDistance(const Math::Vector& centre, float radius) const;
    // False when the cube of the half size around the centre lies wholly
    // outside some plane.
    bool ContainsBox(float halfSize, float x, float y, float z) const;

    // a, b, c, d with (a, b, c) of length 1.
    const float* GetPlane(Plane plane) const { return planes[plane]; }

private:
    float Distance(int plane, float x, float y, float z) const;

    float planes[PlaneCount][4] = {};
};
