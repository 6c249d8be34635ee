#include "Graphics/Model3D/Mesh.h"
#include "Graphics/Model3D/SubMesh.h"
#include "Graphics/Model3D/TriangleOrder.h"

#include <algorithm>
#include <array>
#include <deque>
#include <gtest/gtest.h>
#include <random>

namespace
{

using Triangles = std::vector<std::uint32_t>;

const int CacheSize = 8;

// A mesh of the given vertices (their values unused) whose sub-meshes hold
// the triangle lists.
std::unique_ptr<Model3D::Mesh> MeshOf(std::uint32_t vertexCount,
                                      const std::vector<Triangles>& subMeshes)
{
    auto mesh = std::make_unique<Model3D::Mesh>("Order", vertexCount);
    for (const Triangles& triangles : subMeshes)
    {
        auto subMesh = std::make_unique<Model3D::SubMesh>(
            mesh.get(), 0, nullptr, static_cast<std::uint32_t>(triangles.size() / 3));
        subMesh->indices = triangles;
        mesh->subMeshes.push_back(std::move(subMesh));
    }
    return mesh;
}

Triangles Ordered(std::uint32_t vertexCount, const Triangles& triangles)
{
    auto mesh = MeshOf(vertexCount, {triangles});
    TriangleOrder(mesh.get(), CacheSize).Optimize(*mesh->subMeshes[0]);
    return mesh->subMeshes[0]->indices;
}

// Vertex-cache misses per triangle for a first-in, first-out cache.
double Acmr(const Triangles& triangles, std::size_t cacheSize = CacheSize)
{
    std::deque<std::uint32_t> cache;
    std::size_t misses = 0;
    for (const std::uint32_t v : triangles)
    {
        if (std::find(cache.begin(), cache.end(), v) != cache.end())
            continue;
        ++misses;
        cache.push_back(v);
        if (cache.size() > cacheSize)
            cache.pop_front();
    }
    return double(misses) / double(triangles.size() / 3);
}

// The triangles as sets of corners kept in their cyclic order, sorted.
std::vector<std::array<std::uint32_t, 3>> TriangleSet(const Triangles& triangles)
{
    std::vector<std::array<std::uint32_t, 3>> set;
    for (std::size_t i = 0; i < triangles.size(); i += 3)
        set.push_back({triangles[i], triangles[i + 1], triangles[i + 2]});
    std::sort(set.begin(), set.end());
    return set;
}

// A surface of columns x rows quads over (columns + 1) x (rows + 1) vertices
// from first on, row by row. When wrap is set the last column closes onto the
// first (a band around a sphere) over columns x (rows + 1) vertices.
Triangles GridTriangles(std::uint32_t columns, std::uint32_t rows, bool wrap = false,
                        std::uint32_t first = 0)
{
    const std::uint32_t stride = wrap ? columns : columns + 1;
    Triangles triangles;
    for (std::uint32_t row = 0; row < rows; ++row)
    {
        for (std::uint32_t column = 0; column < columns; ++column)
        {
            const std::uint32_t right = wrap ? (column + 1) % columns : column + 1;
            const std::uint32_t a = first + row * stride + column;
            const std::uint32_t b = first + row * stride + right;
            const std::uint32_t c = a + stride;
            const std::uint32_t d = b + stride;
            triangles.insert(triangles.end(), {a, b, d, a, d, c});
        }
    }
    return triangles;
}

// A closed sphere, ring by ring: a pole, rings of slices vertices, the other
// pole.
Triangles SphereTriangles(std::uint32_t slices, std::uint32_t rings)
{
    const std::uint32_t south = 1 + slices * rings;
    Triangles triangles;
    for (std::uint32_t s = 0; s < slices; ++s)
        triangles.insert(triangles.end(), {0, 1 + s, 1 + (s + 1) % slices});
    const Triangles bands = GridTriangles(slices, rings - 1, true, 1);
    triangles.insert(triangles.end(), bands.begin(), bands.end());
    const std::uint32_t last = 1 + slices * (rings - 1);
    for (std::uint32_t s = 0; s < slices; ++s)
        triangles.insert(triangles.end(), {south, last + (s + 1) % slices, last + s});
    return triangles;
}

Triangles Shuffled(Triangles triangles)
{
    std::vector<std::array<std::uint32_t, 3>> list;
    for (std::size_t i = 0; i < triangles.size(); i += 3)
        list.push_back({triangles[i], triangles[i + 1], triangles[i + 2]});
    std::shuffle(list.begin(), list.end(), std::mt19937(7));
    triangles.clear();
    for (const auto& triangle : list)
        triangles.insert(triangles.end(), triangle.begin(), triangle.end());
    return triangles;
}

} // namespace

TEST(TriangleOrderTest, TheWalkFollowsTheCacheAndKeepsEachTrianglesCorners)
{
    struct Case
    {
        const char* name;
        std::uint32_t vertexCount;
        Triangles input;
        Triangles expected;
    };
    const Case cases[] = {
        // Vertex 0 first, then vertex 1 (priority 2 against 1 for vertex 2),
        // then vertex 3.
        {"three triangles", 6, {3, 4, 5, 0, 1, 2, 2, 1, 3}, {0, 1, 2, 2, 1, 3, 3, 4, 5}},
        {"one triangle", 3, {2, 0, 1}, {2, 0, 1}},
        // Nothing at vertex 0: the walk goes on from the first vertex above
        // it with live triangles.
        {"no vertex 0", 7, {5, 6, 4, 2, 3, 4}, {2, 3, 4, 5, 6, 4}},
        {"separate pieces", 9, {6, 7, 8, 3, 4, 5, 0, 1, 2}, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {"a corner used twice", 3, {1, 1, 2, 0, 1, 2}, {0, 1, 2, 1, 1, 2}},
        {"empty", 3, {}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Ordered(c.vertexCount, c.input)) << c.name;
}

TEST(TriangleOrderTest, OneOrderServesSubMeshesOfOneMeshInTurn)
{
    // The second sub-mesh lies far up in a large mesh, and the first leaves
    // nothing behind in the records.
    const Triangles first = Shuffled(GridTriangles(20, 20));
    const Triangles second = Shuffled(GridTriangles(10, 10, false, 1000));
    auto mesh = MeshOf(2000, {first, second, first});
    TriangleOrder order(mesh.get(), CacheSize);
    for (const std::unique_ptr<Model3D::SubMesh>& subMesh : mesh->subMeshes)
        order.Optimize(*subMesh);
    EXPECT_EQ(mesh->subMeshes[0]->indices, mesh->subMeshes[2]->indices);
    EXPECT_EQ(Ordered(2000, second), mesh->subMeshes[1]->indices);
    for (std::size_t i = 0; i < 3; ++i)
    {
        const Triangles& input = i == 1 ? second : first;
        EXPECT_EQ(TriangleSet(input), TriangleSet(mesh->subMeshes[i]->indices)) << i;
    }
}

TEST(TriangleOrderTest, OrderedMeshesMissTheCacheRarely)
{
    // The shuffled triangles of a grid and of a sphere, against the order
    // they were generated in: rows of quads, rings of the sphere, as a
    // careful exporter writes them.
    struct Case
    {
        const char* name;
        std::uint32_t vertexCount;
        Triangles generated;
    };
    const Case cases[] = {
        {"grid", 41 * 41, GridTriangles(40, 40)},
        {"sphere", 2 + 48 * 23, SphereTriangles(48, 23)},
    };
    for (const Case& c : cases)
    {
        const Triangles input = Shuffled(c.generated);
        const Triangles ordered = Ordered(c.vertexCount, input);
        EXPECT_EQ(TriangleSet(input), TriangleSet(ordered)) << c.name;
        const double acmr = Acmr(ordered);
        EXPECT_LE(acmr, 1.05 * Acmr(c.generated)) << c.name;
        EXPECT_LT(acmr, 0.4 * Acmr(input)) << c.name;
    }
}
