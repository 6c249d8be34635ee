#include "Graphics/Model3D/Mesh.h"
#include "Graphics/Model3D/ShadowMesh.h"
#include "Graphics/Model3D/VertexWelder.h"
#include "Engine/MathUtil.h"

#include <gtest/gtest.h>
#include <random>

namespace
{

struct Corner
{
    float position[3];
    float normal[3];
    float texCoord[2];
};

// One vertex per corner, as the importer makes them: each sub-mesh's
// triangles are its corners three by three, and the shadow mesh holds them
// all in order.
std::unique_ptr<Model3D::Mesh> MeshOf(const std::vector<std::vector<Corner>>& subMeshes)
{
    std::uint32_t vertexCount = 0;
    for (const std::vector<Corner>& corners : subMeshes)
        vertexCount += static_cast<std::uint32_t>(corners.size());
    auto mesh = std::make_unique<Model3D::Mesh>("Weld", vertexCount);
    std::uint32_t next = 0;
    std::vector<std::uint32_t> all;
    for (const std::vector<Corner>& corners : subMeshes)
    {
        auto subMesh = std::make_unique<Model3D::SubMesh>(
            mesh.get(), 0, nullptr, static_cast<std::uint32_t>(corners.size() / 3));
        for (std::size_t i = 0; i < corners.size(); ++i, ++next)
        {
            std::copy_n(corners[i].position, 3, &mesh->positions[next * 3]);
            std::copy_n(corners[i].normal, 3, &mesh->normals[next * 3]);
            std::copy_n(corners[i].texCoord, 2, &mesh->texCoords[next * 2]);
            subMesh->indices[i] = next;
            all.push_back(next);
        }
        mesh->subMeshes.push_back(std::move(subMesh));
    }
    mesh->shadowMesh = std::make_unique<Model3D::ShadowMesh>(mesh.get(), next / 3);
    mesh->shadowMesh->indices = all;
    return mesh;
}

Corner At(float x, float y, float z = 0.0f)
{
    return {{x, y, z}, {0, 0, 1}, {x, y}};
}

// The first corner at x, with the given normal x and texture u.
std::vector<Corner> TwoTriangles(float x, float nx, float u)
{
    Corner first = At(0.0001f, 0.5f);
    Corner second = {{x, 0.5f, 0}, {nx, 0, 1}, {u, 0.5f}};
    first.texCoord[0] = 0.01f;
    return {first, At(0.3f, 0), At(0.3f, 0.3f), second, At(-0.3f, 0), At(-0.3f, -0.3f)};
}

// The weld as the welder walks it, one corner after another against every
// earlier kept vertex of its sub-mesh in the same cell, for checking the
// welder's own search. The cell of a corner is its position, exactly.
std::vector<std::uint32_t> ReferenceWeld(const Model3D::Mesh& mesh)
{
    std::vector<std::uint32_t> remap(mesh.vertexCount);
    std::vector<std::uint32_t> kept;
    std::uint32_t next = 0;
    const auto same = [&mesh](std::uint32_t a, std::uint32_t b, const std::vector<float>& values,
                              int n)
    {
        for (int k = 0; k < n; ++k)
        {
            if (!Math::IsZero(values[a * n + k] - values[b * n + k]))
                return false;
        }
        return true;
    };
    for (const std::uint32_t v : mesh.subMeshes[0]->indices)
    {
        bool found = false;
        for (const std::uint32_t w : kept)
        {
            if (std::equal(&mesh.positions[v * 3], &mesh.positions[v * 3 + 3], &mesh.positions[w * 3]) &&
                same(v, w, mesh.normals, 3) && same(v, w, mesh.texCoords, 2))
            {
                remap[v] = remap[w];
                found = true;
                break;
            }
        }
        if (!found)
        {
            kept.push_back(v);
            remap[v] = next++;
        }
    }
    std::vector<std::uint32_t> indices;
    for (const std::uint32_t v : mesh.subMeshes[0]->indices)
        indices.push_back(remap[v]);
    return indices;
}

} // namespace

TEST(VertexWelderTest, CornersWeldWhenTheyShareACellANormalAndATextureCoordinate)
{
    struct Case
    {
        const char* name;
        float x, nx, u;
        bool welds;
    };
    const Case cases[] = {
        {"same cell", 0.0008f, 0, 0.01f, true},
        {"next cell", 0.0011f, 0, 0.01f, false},
        {"normal 1e-8 apart", 0.0001f, 1e-8f, 0.01f, false},
        {"normal 5e-9 apart", 0.0001f, 5e-9f, 0.01f, true},
        {"texture 5e-9 apart", 0.0001f, 0, 0.01f + 5e-9f, true},
        {"texture 2e-8 apart", 0.0001f, 0, 0.01f + 2e-8f, false},
    };
    for (const Case& c : cases)
    {
        auto mesh = MeshOf({TwoTriangles(c.x, c.nx, c.u)});
        VertexWelder(10).Weld(*mesh);
        EXPECT_EQ(c.welds ? 5u : 6u, mesh->vertexCount) << c.name;
        EXPECT_EQ(mesh->vertexCount * 3, mesh->positions.size()) << c.name;
        const std::vector<std::uint32_t> expected = c.welds ? std::vector<std::uint32_t>{0, 1, 2, 0, 3, 4}
                                                            : std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5};
        EXPECT_EQ(expected, mesh->subMeshes[0]->indices) << c.name;
        EXPECT_EQ(expected, mesh->shadowMesh->indices) << c.name;
    }

    // A welded vertex keeps the data of its last corner.
    auto mesh = MeshOf({TwoTriangles(0.0008f, 5e-9f, 0.01f)});
    VertexWelder(10).Weld(*mesh);
    EXPECT_EQ(0.0008f, mesh->positions[0]);
    EXPECT_EQ(5e-9f, mesh->normals[0]);
    EXPECT_EQ(-0.3f, mesh->positions[4 * 3]);
}

TEST(VertexWelderTest, AMeshWhereNothingWeldsStaysAsItWas)
{
    auto mesh = MeshOf({TwoTriangles(0.5f, 0, 0.01f)});
    const std::vector<float> positions = mesh->positions;
    const float* const array = mesh->positions.data();
    VertexWelder(10).Weld(*mesh);
    EXPECT_EQ(6u, mesh->vertexCount);
    EXPECT_EQ(positions, mesh->positions);
    EXPECT_EQ(array, mesh->positions.data());
}

TEST(VertexWelderTest, SubMeshesThatMeetKeepTheirVerticesAndShareThemInTheShadowMesh)
{
    // A square of two triangles, one per sub-mesh, with a texture seam along
    // the diagonal.
    std::vector<Corner> second = {At(0, 0), At(1, 1), At(0, 1)};
    second[0].texCoord[0] = 0.75f;
    auto mesh = MeshOf({{At(0, 0), At(1, 0), At(1, 1)}, second});
    VertexWelder welder(10);
    welder.Weld(*mesh);
    EXPECT_EQ(6u, mesh->vertexCount);
    welder.ClearCells();
    welder.MergePositions(*mesh);
    EXPECT_EQ((std::vector<std::uint32_t>{0, 1, 2, 0, 2, 5}), mesh->shadowMesh->indices);
    EXPECT_EQ((std::vector<std::uint32_t>{3, 4, 5}), mesh->subMeshes[1]->indices);
    EXPECT_EQ(18u, mesh->positions.size());

    // Prepared, the diagonal is one edge with both faces.
    auto prepared = MeshOf({{At(0, 0), At(1, 0), At(1, 1)}, second});
    prepared->shadowMesh.reset();
    prepared->Prepare();
    int shared = 0;
    for (const Model3D::ShadowMesh::Edge& edge : prepared->shadowMesh->edges)
        shared += edge.face1 >= 0;
    EXPECT_EQ(1, shared);
    EXPECT_EQ(4u, prepared->shadowMesh->edges.size());
}

TEST(VertexWelderTest, CrowdedCellsWeldAsAWalkOfTheirItemsWould)
{
    // Corners piled on four positions with values near each other within and
    // beyond the tolerance, near 0 and near 1/8 where the search changes its
    // bands.
    const float values[] = {0.0f, 5e-9f, -5e-9f, 9e-9f, 1.2e-8f, 2e-8f, 0.125f, 0.125f - 7e-9f,
                            0.125f + 1.5e-8f, -0.125f, 0.5f, 0.7f, 1e-30f};
    std::mt19937 random(3);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(values) - 1);
    std::uniform_int_distribution<int> place(0, 3);
    std::vector<Corner> corners;
    for (int i = 0; i < 3 * 400; ++i)
    {
        const float x = 0.25f * place(random);
        corners.push_back({{x, 0, 0},
                           {values[pick(random)], values[pick(random)], 1},
                           {values[pick(random)], values[pick(random)]}});
    }
    auto mesh = MeshOf({corners});
    const std::vector<std::uint32_t> expected = ReferenceWeld(*mesh);
    VertexWelder(10).Weld(*mesh);
    EXPECT_EQ(expected, mesh->subMeshes[0]->indices);
    EXPECT_LT(100u, mesh->vertexCount);
}

TEST(VertexWelderTest, PreparingAMeshWithoutVerticesOrWithAPointAtInfinityFails)
{
    auto empty = std::make_unique<Model3D::Mesh>("Nothing", 0);
    EXPECT_THROW(empty->Prepare(), std::exception);
    std::vector<Corner> corners = {At(0, 0), At(1, 0), At(1, 1)};
    corners[1].position[0] = std::numeric_limits<float>::infinity();
    auto mesh = MeshOf({corners});
    EXPECT_THROW(mesh->Prepare(), std::exception);
}
