#include "Graphics/VertexArray.h"

#include "Engine/Point.h"
#include "Engine/Vector.h"

#include <gtest/gtest.h>
#include <vector>

TEST(VertexArrayTest, ItGrowsByItsStepAndKeepsWhatItHolds)
{
    VertexArray array(GL_QUADS, 4, 4, false, true, true, 3);
    for (int i = 0; i < 10; ++i)
    {
        array.SetTexCoord(i, -i);
        array.SetColor(i, 0, 0, 1);
        EXPECT_TRUE(array.AddVertex(i, i + 0.5f, 0));
    }
    EXPECT_EQ(10, array.GetCount());
    EXPECT_EQ(12, array.GetCapacity());
    for (int i = 0; i < 10; ++i)
    {
        EXPECT_EQ(i + 0.5f, array.GetVertices()[i * 3 + 1]) << i;
        EXPECT_EQ(-i, array.GetTexCoords()[i * 2 + 1]) << i;
        EXPECT_EQ(i, array.GetColors()[i * 4]) << i;
    }
    EXPECT_TRUE(array.GetNormals().empty());

    array.Clear();
    EXPECT_EQ(0, array.GetCount());
    EXPECT_EQ(12, array.GetCapacity());
}

TEST(VertexArrayTest, CapacityAndStepAreAtLeastOne)
{
    VertexArray array(GL_POINTS, 0, 0, true, false, false, 3);
    EXPECT_EQ(1, array.GetCapacity());
    for (int i = 0; i < 3; ++i)
        array.AddVertex(0, 0, i);
    EXPECT_EQ(3, array.GetCount());
    EXPECT_EQ(4, array.GetCapacity());
    EXPECT_EQ(12u, array.GetNormals().size());
}

TEST(VertexArrayTest, ShrinkingKeepsWhatFitsWithRoomForOneMore)
{
    VertexArray array(GL_POINTS, 8, 8, false, false, true, 3);
    for (int i = 0; i < 6; ++i)
    {
        array.SetColor(i, i, i, i);
        array.AddVertex(i, 0, 0);
    }
    array.Resize(4);
    EXPECT_EQ(4, array.GetCapacity());
    EXPECT_EQ(3, array.GetCount());
    EXPECT_EQ((std::vector<float>{0, 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0}), array.GetVertices());
    EXPECT_EQ(16u, array.GetColors().size());
    array.AddVertex(7, 0, 0); // the room left grows again
    EXPECT_EQ(4, array.GetCount());
    EXPECT_EQ(12, array.GetCapacity());
}

TEST(VertexArrayTest, APositionOfTheWrongSizeIsRefused)
{
    struct Case
    {
        int components;
        bool xyz, vector, point, pointer;
    };
    const Case cases[] = {
        {2, false, true, true, true},
        {3, true, true, true, true},
        {4, false, false, true, true},
    };
    const float floats[] = {1, 2, 3, 4};
    for (const Case& c : cases)
    {
        VertexArray array(GL_POINTS, 4, 4, false, false, false, c.components);
        EXPECT_EQ(c.xyz, array.AddVertex(1, 2, 3)) << c.components;
        EXPECT_EQ(c.vector, array.AddVertex(Math::Vector(1, 2, 3))) << c.components;
        EXPECT_EQ(c.point, array.AddVertex(Math::Point(1, 2, 3, 4))) << c.components;
        EXPECT_EQ(c.pointer, array.AddVertex(floats)) << c.components;
        const int added = c.xyz + c.vector + c.point + c.pointer;
        ASSERT_EQ(added, array.GetCount()) << c.components;
        for (int i = 0; i < added * c.components; ++i)
            EXPECT_EQ(floats[i % c.components], array.GetVertices()[i]) << c.components;
    }
}
