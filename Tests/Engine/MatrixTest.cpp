#include "Engine/Matrix.h"

#include "Engine/Point.h"
#include "Engine/Vector.h"

#include <gtest/gtest.h>

namespace
{

using Math::Matrix;
using Math::MemMatrix;
using Math::Vector;

const float Tolerance = 1e-5f;

void ExpectNear(const MemMatrix& expected, const MemMatrix& actual)
{
    for (int i = 0; i < 16; ++i)
    {
        EXPECT_NEAR(expected[i], actual[i], Tolerance) << "element " << i;
    }
}

void ExpectNear(const Vector& expected, const Vector& actual)
{
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_NEAR(expected[i], actual[i], Tolerance) << "component " << i;
    }
}

Matrix Counting()
{
    float values[16];
    for (int i = 0; i < 16; ++i)
    {
        values[i] = static_cast<float>(i + 1);
    }
    return Matrix(values);
}

// A rotation followed by a translation, the kind of matrix a camera holds.
Matrix Rigid()
{
    return Matrix::Translate(3, -2, 5) * Matrix::Rotate(37, 1, 2, 3);
}

} // namespace

TEST(MatrixTest, CopiedViewSharesMemoryAndCopiedMatrixOwnsIt)
{
    float floats[16] = {};
    MemMatrix view(floats);
    MemMatrix viewCopy(view);
    viewCopy(2, 1) = 7;
    EXPECT_EQ(floats, viewCopy.Data());
    EXPECT_EQ(7, floats[9]);

    const Matrix original = Counting();
    Matrix copy(original);
    Matrix fromView(view);
    EXPECT_NE(original.Data(), copy.Data());
    EXPECT_NE(floats, fromView.Data());
    ExpectNear(original, copy);
    copy[0] = 100;
    fromView[9] = 100;
    EXPECT_EQ(1, original[0]);
    EXPECT_EQ(7, floats[9]);
}

TEST(MatrixTest, AssignmentCopiesValuesAndKeepsTheTargetsMemory)
{
    float floats[16] = {};
    MemMatrix view(floats);
    const Matrix source = Counting();
    view = source;
    EXPECT_EQ(floats, view.Data());
    EXPECT_EQ(16, floats[15]);

    Matrix target = Matrix::Identity;
    const float* own = target.Data();
    target = source;
    EXPECT_EQ(own, target.Data());
    ExpectNear(source, target);

    target = target;
    ExpectNear(source, target);
}

TEST(MatrixTest, ElementOfColumnAndRowIsStoredColumnMajor)
{
    Matrix m = Counting();
    EXPECT_EQ(m[2 * 4 + 1], m(2, 1));
    m(3, 0) = -1;
    EXPECT_EQ(-1, m[12]);
}

TEST(MatrixTest, TranslationLiesInTheLastColumnOrTheLastRowWhenTransposed)
{
    const Matrix plain = Matrix::Translate(Vector(1, 2, 3));
    const Matrix transposed = Matrix::Translate(1, 2, 3, true);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(i + 1, plain[12 + i]);
        EXPECT_EQ(i + 1, transposed[3 + 4 * i]);
        EXPECT_EQ(0, plain[3 + 4 * i]);
        EXPECT_EQ(0, transposed[12 + i]);
    }
    EXPECT_EQ(1, plain[15]);
    ExpectNear(Vector(1, 2, 3), plain.GetTranslation());
    ExpectNear(Vector(1, 2, 3), transposed.GetTransposedTranslation());
}

TEST(MatrixTest, RotationTurnsCounterClockwiseAboutTheAxis)
{
    struct Case
    {
        float angle;
        Vector axis;
        Vector from;
        Vector to;
    };
    const Case cases[] = {
        {90, Vector::AxisZ, Vector::AxisX, Vector::AxisY},
        {90, Vector(0, 0, 2), Vector::AxisX, Vector::AxisY},
        {90, Vector::AxisX, Vector::AxisY, Vector::AxisZ},
        {90, Vector::AxisY, Vector::AxisZ, Vector::AxisX},
        {-90, Vector::AxisZ, Vector::AxisX, Vector(0, -1, 0)},
        {180, Vector(1, 1, 0), Vector::AxisX, Vector::AxisY},
        {120, Vector(1, 1, 1), Vector::AxisX, Vector::AxisY},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.angle);
        ExpectNear(c.to, c.from * Matrix::Rotate(c.angle, c.axis));
    }
}

TEST(MatrixTest, RotationIgnoresTheAxisLengthAndAngleZeroIsIdentity)
{
    ExpectNear(Matrix::Rotate(90, 0, 0, 1), Matrix::Rotate(90, 0, 0, 2));
    ExpectNear(Matrix::Rotate(33, 1, 2, 3), Matrix::Rotate(33, 0.1f, 0.2f, 0.3f));
    ExpectNear(Matrix::Identity, Matrix::Rotate(0, 1, 2, 3));
}

TEST(MatrixTest, TransposedRotationIsTheInverse)
{
    const Matrix rotation = Matrix::Rotate(71, -2, 1, 0.5f);
    ExpectNear(Matrix::Identity, rotation * Matrix::Rotate(71, -2, 1, 0.5f, true));
    ExpectNear(Matrix::Rotate(-71, -2, 1, 0.5f), Matrix::Rotate(71, -2, 1, 0.5f, true));
}

TEST(MatrixTest, ProductAppliesTheRightHandMatrixFirst)
{
    const Matrix translate = Matrix::Translate(1, 0, 0);
    const Matrix rotate = Matrix::Rotate(90, Vector::AxisZ);
    const Math::Point p(1, 0, 0, 1);

    const Math::Point rotatedThenMoved = p * (translate * rotate);
    EXPECT_NEAR(1, rotatedThenMoved[0], Tolerance);
    EXPECT_NEAR(1, rotatedThenMoved[1], Tolerance);

    Matrix inPlace = rotate;
    inPlace *= translate;
    const Math::Point movedThenRotated = p * inPlace;
    EXPECT_NEAR(0, movedThenRotated[0], Tolerance);
    EXPECT_NEAR(2, movedThenRotated[1], Tolerance);
}

TEST(MatrixTest, MultiplyingByItselfInPlaceSquares)
{
    Matrix m = Counting();
    const Matrix square = m * Matrix(m);
    m *= m;
    ExpectNear(square, m);

    Matrix rotation = Matrix::Rotate(30, Vector::AxisY);
    rotation *= rotation;
    ExpectNear(Matrix::Rotate(60, Vector::AxisY), rotation);
}

TEST(MatrixTest, RigidInverseUndoesTheTransform)
{
    const Matrix m = Rigid();
    Matrix inverse = m;
    inverse.InvertRigid();
    ExpectNear(Matrix::Identity, inverse * m);
    ExpectNear(Matrix::Identity, m * inverse);
}

TEST(MatrixTest, VectorTakesOnlyTheRotationAndPointTheWholeTransform)
{
    const Matrix m = Rigid();
    const Vector v(1, -1, 2);
    const Math::Point p(v);
    const Math::Point moved = p * m;
    ExpectNear(v * m + m.GetTranslation(), Vector(moved[0], moved[1], moved[2]));
    EXPECT_NEAR(1, moved[3], Tolerance);
}

TEST(MatrixTest, SumsDifferencesAndBlendsAreElementwise)
{
    const Matrix counting = Counting();
    const Matrix doubled = counting + counting;
    EXPECT_EQ(32, doubled[15]);
    ExpectNear(counting, doubled - counting);
    Matrix blend;
    blend.Lerp(counting, doubled, 0.25f);
    for (int i = 0; i < 16; ++i)
    {
        EXPECT_FLOAT_EQ(1.25f * (i + 1), blend[i]);
    }
}
