#include "Graphics/Model3D/Octree.h"
#include "Support/Capture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace
{

const float CellEdge = 1.0f / 1024;

bool SameCell(Octree& tree, float a, float b)
{
    const float p[3] = {a, 0.25f, 0.25f};
    const float q[3] = {b, 0.25f, 0.25f};
    return &tree.Find(p) == &tree.Find(q);
}

} // namespace

TEST(OctreeTest, TheTreeGrowsUntilItHoldsThePointAndKeepsItsCellEdge)
{
    struct Case
    {
        float point[3];
        float size;
        int depth;
    };
    const Case cases[] = {
        {{0.5f, -0.5f, 0.5f}, 1, 10},   // on the closed bounds
        {{0.6f, 0, 0}, 2, 11},
        {{0, -1.7f, 0}, 4, 12},
        {{0, 0, 100}, 256, 18},
        {{-3, 3, 0.1f}, 8, 13},
    };
    for (const Case& c : cases)
    {
        Octree tree(10, 1.0f);
        tree.Find(c.point);
        EXPECT_EQ(c.size, tree.GetSize()) << c.point[0] << " " << c.point[1] << " " << c.point[2];
        EXPECT_EQ(c.depth, tree.GetDepth()) << c.point[0] << " " << c.point[1] << " " << c.point[2];
        EXPECT_EQ(CellEdge, tree.GetSize() / float(1 << tree.GetDepth()));
    }
}

TEST(OctreeTest, CellsAreAFixedGridWhoseUpperPlanesBelongToThem)
{
    struct Case
    {
        float a, b;
        bool same;
    };
    const Case cases[] = {
        {0.0001f, 0.0008f, true},
        {0.0009f, 0.0011f, false}, // 0.0009 <= 1/1024 < 0.0011
        {CellEdge, 0.0005f, true},
        {CellEdge, 0.001f, false},
        {0.0f, -0.0005f, true},
        {0.0f, 0.0005f, false},
        {0.3f, 0.3f + CellEdge, false},
    };
    // The same answers before and after the tree grew twice.
    Octree tree(10, 1.0f);
    // The root's lower bound falls into the lowest cell, until it becomes a
    // grid plane of a grown tree.
    EXPECT_TRUE(SameCell(tree, -0.5f, -0.4995f));
    for (int grown = 0; grown < 2; ++grown)
    {
        for (const Case& c : cases)
            EXPECT_EQ(c.same, SameCell(tree, c.a, c.b)) << c.a << " " << c.b << " grown " << grown;
        const float far[3] = {0, 0, 1.5f};
        tree.Find(far);
    }
    EXPECT_EQ(12, tree.GetDepth());
    EXPECT_FALSE(SameCell(tree, -0.5f, -0.4995f));
}

TEST(OctreeTest, GrowingKeepsEveryCellInItsPlace)
{
    Octree tree(3, 1.0f);
    const float points[][3] = {{0.1f, 0.2f, -0.3f}, {-0.45f, 0.45f, 0.0f}, {0.5f, 0.5f, 0.5f}};
    for (std::uint32_t i = 0; i < 3; ++i)
        tree.Find(points[i]).items.push_back(i);
    const Octree before = tree;
    tree.Grow();
    tree.Grow();
    EXPECT_EQ(4.0f, tree.GetSize());
    for (std::uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(std::vector<std::uint32_t>{i}, tree.Find(points[i]).items) << i;

    // Nodes copy deeply.
    int leaves = 0;
    int filled = 0;
    Octree copy = before;
    copy.GetRoot().VisitLeaves(
        [&](std::vector<std::uint32_t>& items)
        {
            ++leaves;
            filled += !items.empty();
            items.clear();
        });
    EXPECT_EQ(3, filled);
    // The points lie in three octants of the root, each path three levels
    // deep: five untouched octants and 7 + 8 leaves along each path.
    EXPECT_EQ(5 + 3 * (7 + 8), leaves);
    EXPECT_EQ(std::vector<std::uint32_t>{0}, tree.Find(points[0]).items);
}

TEST(OctreeTest, PointsThatAreNotFiniteOrTooFarOutAreRefused)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float cases[][3] = {{inf, 0, 0}, {0, -inf, 0}, {0, 0, std::nanf("")}, {3e38f, 0, 0}};
    for (const auto& point : cases)
    {
        Octree tree(10, 1.0f);
        EXPECT_NE("no error", ErrorOf([&] { tree.Find(point); })) << point[0] << " " << point[1] << " " << point[2];
        EXPECT_GE(128 + 10, tree.GetDepth());
    }
}
