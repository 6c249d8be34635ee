#include "Graphics/Frustum.h"

#include "Engine/Matrix.h"
#include "Engine/Vector.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{

using Math::Vector;

// A perspective of 90 degrees, square, from 1 to 10 in front of the viewer
// (down -z): at depth d the view is 2d wide.
Math::Matrix Perspective()
{
    const float near = 1;
    const float far = 10;
    const float elements[16] = {1,
                                0,
                                0,
                                0,
                                0,
                                1,
                                0,
                                0,
                                0,
                                0,
                                (far + near) / (near - far),
                                -1,
                                0,
                                0,
                                2 * far * near / (near - far),
                                0};
    return Math::Matrix(elements);
}

class FrustumTest : public ::testing::Test
{
protected:
    void SetUp() override { frustum.Extract(Perspective()); }

    Frustum frustum;
};

} // namespace

TEST_F(FrustumTest, ThePlanesAreNormalisedInTheirOrder)
{
    const float h = std::sqrt(0.5f);
    const float expected[Frustum::PlaneCount][4] = {{-h, 0, -h, 0}, {h, 0, -h, 0}, {0, h, -h, 0},
                                                    {0, -h, -h, 0}, {0, 0, 1, 10}, {0, 0, -1, -1}};
    for (int p = 0; p < Frustum::PlaneCount; ++p)
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(expected[p][i], frustum.GetPlane(Frustum::Plane(p))[i], 1e-5f)
                << "plane " << p << " " << i;
}

TEST_F(FrustumTest, APointIsInsideOnlyOnThePositiveSideOfEveryPlane)
{
    const struct
    {
        Vector point;
        bool inside;
    } cases[] = {
        {{0, 0, -5}, true},     {{4.9f, 0, -5}, true},   {{5.1f, 0, -5}, false},
        {{0, -4.9f, -5}, true}, {{0, -5.1f, -5}, false}, {{0, 0, -0.5f}, false},
        {{0, 0, -9.9f}, true},  {{0, 0, -10.1f}, false}, {{0, 0, 5}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.inside, frustum.Contains(c.point))
            << c.point[0] << " " << c.point[1] << " " << c.point[2];
}

TEST_F(FrustumTest, ASphereTouchingTheViewGetsItsNearDistance)
{
    const struct
    {
        Vector centre;
        float radius;
        float distance;
    } cases[] = {
        {{0, 0, -5}, 1, 5},       // 4 beyond the near plane, plus the radius
        {{5.5f, 0, -5}, 1, 5},    // partly outside on the right
        {{6.5f, 0, -5}, 1, -1},   // wholly outside on the right
        {{0, 0, -0.5f}, 1, 0.5f}, // across the near plane
        {{0, 0, 1}, 1, -1},       // behind the viewer
    };
    for (const auto& c : cases)
        EXPECT_NEAR(c.distance, frustum.SphereDistance(c.centre, c.radius), 1e-5f)
            << c.centre[0] << " " << c.centre[1] << " " << c.centre[2];
}

TEST_F(FrustumTest, ABoxIsOutsideWhenItLiesWhollyBeyondOnePlane)
{
    const struct
    {
        float halfSize;
        float x, y, z;
        bool inside;
    } cases[] = {
        {1, 0, 0, -5, true},   {1, 5.5f, 0, -5, true},   {1, 8, 0, -5, false},
        {1, 0, -8, -5, false}, {1.5f, 0, 0, -12, false}, {2.5f, 0, 0, -12, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.inside, frustum.ContainsBox(c.halfSize, c.x, c.y, c.z))
            << c.halfSize << " at " << c.x << " " << c.y << " " << c.z;
}
