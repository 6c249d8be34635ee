#include "Engine/Vector.h"

#include "Engine/MemPoint.h"
#include "Engine/MemVector.h"
#include "Engine/Point.h"

#include <gtest/gtest.h>

namespace
{

using Math::MemPoint;
using Math::MemVector;
using Math::Point;
using Math::Vector;

void ExpectEq(const Vector& expected, const Math::RawMemVector<3>& actual)
{
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_FLOAT_EQ(expected[i], actual[i]) << "component " << i;
    }
}

void ExpectEq(const Point& expected, const Math::RawMemVector<4>& actual)
{
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_FLOAT_EQ(expected[i], actual[i]) << "component " << i;
    }
}

} // namespace

TEST(VectorTest, CopiedViewsShareMemory)
{
    float vertex[4] = {1, 2, 3, 4};
    MemVector view(vertex);
    MemVector copy(view);
    copy[1] = 20;
    EXPECT_EQ(20, vertex[1]);

    Vector owner(5, 6, 7);
    MemVector ofOwner(owner);
    ofOwner[0] = 50;
    EXPECT_EQ(50, owner[0]);

    MemPoint point(vertex);
    MemPoint pointCopy(point);
    MemVector position(point);
    pointCopy[3] = 40;
    position[2] = 30;
    EXPECT_EQ(40, vertex[3]);
    EXPECT_EQ(30, vertex[2]);
}

TEST(VectorTest, CopiedOwnersHaveTheirOwnMemory)
{
    const Vector original(1, 2, 3);
    Vector copy(original);
    copy[0] = 10;
    EXPECT_EQ(1, original[0]);

    float vertex[3] = {4, 5, 6};
    Vector fromView = MemVector(vertex);
    fromView[0] = 40;
    EXPECT_EQ(4, vertex[0]);

    const Point point(1, 2, 3, 4);
    Point pointCopy(point);
    pointCopy[3] = 0;
    EXPECT_EQ(4, point[3]);

    const Math::RawVector<3> sum = original + original;
    Math::RawVector<3> sumCopy(sum);
    sumCopy[0] = 0;
    EXPECT_EQ(2, sum[0]);
}

TEST(VectorTest, AssignmentCopiesValuesIntoTheTargetsMemory)
{
    float vertex[4] = {};
    MemVector view(vertex);
    view = Vector(1, 2, 3);
    EXPECT_EQ(vertex, view.Data());
    ExpectEq(Vector(1, 2, 3), MemVector(vertex));

    Vector owner;
    const float* own = owner.Data();
    owner = view;
    EXPECT_EQ(own, owner.Data());
    owner[0] = 10;
    EXPECT_EQ(1, vertex[0]);

    owner = owner;
    ExpectEq(Vector(10, 2, 3), owner);

    MemPoint pointView(vertex);
    pointView = Point(5, 6, 7, 8);
    EXPECT_EQ(8, vertex[3]);
}

TEST(VectorTest, ArithmeticGivesNewVectorsAndLeavesOperandsAlone)
{
    const Vector a(1, 2, 3);
    const Vector b(4, -5, 6);
    ExpectEq(Vector(5, -3, 9), a + b);
    ExpectEq(Vector(-3, 7, -3), a - b);
    ExpectEq(Vector(2, 4, 6), a * 2.0f);
    ExpectEq(Vector(0.5f, 1, 1.5f), a / 2.0f);
    ExpectEq(Vector(-1, -2, -3), -a);
    EXPECT_FLOAT_EQ(12, a.Dot(b));
    ExpectEq(Vector(1, 2, 3), a);

    Vector c = a;
    c += 1.0f;
    ExpectEq(Vector(2, 3, 4), c);
}

TEST(VectorTest, CrossProductIsRightHanded)
{
    ExpectEq(Vector::AxisZ, Vector::AxisX.Cross(Vector::AxisY));
    ExpectEq(Vector::AxisX, Vector::AxisY.Cross(Vector::AxisZ));
    ExpectEq(-Vector::AxisZ, Vector::AxisY.Cross(Vector::AxisX));
    const Vector a(1, 2, 3);
    const Vector b(-2, 0.5f, 4);
    EXPECT_NEAR(0, a.Cross(b).Dot(a), 1e-5f);
    EXPECT_NEAR(0, a.Cross(b).Dot(b), 1e-5f);
}

TEST(VectorTest, ScalingByOwnComponentUsesItsValueBeforeTheChange)
{
    Vector v(2, 4, 8);
    v /= v[0];
    ExpectEq(Vector(1, 2, 4), v);
    v *= v[2];
    ExpectEq(Vector(4, 8, 16), v);
}

TEST(VectorTest, NormalizeGivesUnitLengthAndLeavesZeroAlone)
{
    const struct
    {
        Vector input;
        Vector expected;
    } cases[] = {
        {Vector(0, 0, 0), Vector(0, 0, 0)},
        {Vector(0, 3, 4), Vector(0, 0.6f, 0.8f)},
        {Vector(-2, 0, 0), Vector(-1, 0, 0)},
    };
    for (const auto& c : cases)
    {
        Vector v = c.input;
        v.Normalize();
        ExpectEq(c.expected, v);
    }
    EXPECT_FLOAT_EQ(5, Vector(0, 3, 4).Length());
}

TEST(VectorTest, NormalizingThroughAViewOfAPointKeepsW)
{
    Point light(0, 3, 4, 0);
    MemVector(light).Normalize();
    ExpectEq(Point(0, 0.6f, 0.8f, 0), light);
}

TEST(VectorTest, IsZeroOnlyForExactZero)
{
    EXPECT_TRUE(Vector::Zero.IsZero());
    EXPECT_TRUE(Vector(0, -0.0f, 0).IsZero());
    EXPECT_FALSE(Vector(0, 1e-30f, 0).IsZero());
    EXPECT_FALSE(Vector(0, 0, -1e-30f).IsZero());
}

TEST(VectorTest, DefaultsAndConstants)
{
    ExpectEq(Vector(0, 0, 0), Vector());
    ExpectEq(Point(0, 0, 0, 1), Point());
    ExpectEq(Vector(0, 1, 0), Vector::AxisY);
    const float values[] = {7, 8, 9};
    ExpectEq(Vector(7, 8, 9), Vector(values));
}

TEST(VectorTest, PointFromAVectorHasWOne)
{
    ExpectEq(Point(1, 2, 3, 1), Point(Vector(1, 2, 3)));
}

TEST(VectorTest, PointFromFloatsReadsFourOfThem)
{
    const float vertex[] = {1, 2, 3, 9, 10};
    ExpectEq(Point(1, 2, 3, 9), Point(vertex));
}

TEST(VectorTest, PointSetLeavesWAndDotUsesAllFour)
{
    Point p(1, 2, 3, 4);
    p.Set(5, 6, 7);
    ExpectEq(Point(5, 6, 7, 4), p);
    EXPECT_FLOAT_EQ(5 + 12 + 21 + 16, p.Dot(Point(1, 2, 3, 4)));
}

TEST(VectorTest, SetDataMovesTheView)
{
    float first[3] = {1, 2, 3};
    float second[3] = {4, 5, 6};
    MemVector view(first);
    view.SetData(second);
    view.Set(7, 8, 9);
    ExpectEq(Vector(1, 2, 3), MemVector(first));
    ExpectEq(Vector(7, 8, 9), MemVector(second));
}
