#include "Graphics/Model3D/Octree.h"
#include "Support/Capture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace
{

const float CellEdge = 1.0f / 1024;

using Items = std::vector<std::uint32_t>;

Items ItemsOf(Octree::Node& leaf)
{
    return leaf.GetItems();
}

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
        tree.Find(points[i]).GetItems().push_back(i);
    const Octree before = tree;
    tree.Grow();
    tree.Grow();
    EXPECT_EQ(4.0f, tree.GetSize());
    for (std::uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(Items{i}, ItemsOf(tree.Find(points[i]))) << i;

    // Nodes copy deeply; the leaves visited are those with items.
    int visited = 0;
    Octree copy = before;
    copy.GetRoot().VisitLeaves(
        [&](Items& items)
        {
            ++visited;
            items.clear();
        });
    EXPECT_EQ(3, visited);
    EXPECT_EQ(Items{0}, ItemsOf(tree.Find(points[0])));
    EXPECT_EQ(Items{}, ItemsOf(copy.Find(points[0])));
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
