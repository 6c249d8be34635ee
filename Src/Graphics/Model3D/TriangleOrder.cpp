#include "Graphics/Model3D/TriangleOrder.h"

#include "Graphics/Model3D/Mesh.h"
#include "Graphics/Model3D/SubMesh.h"

#include <algorithm>

TriangleOrder::TriangleOrder(const Model3D::Mesh* mesh, int cacheSize)
    : mesh(mesh), cacheSize(cacheSize), vertices(mesh->vertexCount)
{
}

TriangleOrder::~TriangleOrder() = default;

void TriangleOrder::Optimize(Model3D::SubMesh& subMesh)
{
    const std::vector<std::uint32_t>& indices = subMesh.indices;
    const std::uint32_t triangleCount = subMesh.triangleCount;
    if (triangleCount == 0 || vertices.empty())
        return;
    used.clear();
    for (std::uint32_t f = 0; f < triangleCount; ++f)
    {
        for (int corner = 0; corner < 3; ++corner)
        {
            const std::uint32_t v = indices[f * 3 + corner];
            VertexInfo& info = vertices[v];
            if (info.useCount == 0 && v > 0)
                used.push_back(v);
            ++info.useCount;
            ++info.liveCount;
            info.triangles.push_back(f);
        }
    }
    std::sort(used.begin(), used.end());
    cursor = 0;
    deadEnds.clear();
    time = cacheSize + 1;

    std::vector<bool> emitted(triangleCount, false);
    std::vector<std::uint32_t> output;
    output.reserve(indices.size());
    for (std::int64_t fan = 0; fan >= 0; fan = GetNextVertex())
    {
        candidates.clear();
        for (const std::uint32_t f : vertices[fan].triangles)
        {
            if (emitted[f])
                continue;
            for (int corner = 0; corner < 3; ++corner)
            {
                const std::uint32_t v = indices[f * 3 + corner];
                output.push_back(v);
                deadEnds.push_back(v);
                candidates.push_back(v);
                VertexInfo& info = vertices[v];
                --info.liveCount;
                if (time - info.timeStamp > cacheSize)
                    info.timeStamp = time++;
            }
            emitted[f] = true;
        }
    }

    // Leaves the records clean for the next sub-mesh.
    vertices[0] = VertexInfo();
    for (const std::uint32_t v : used)
        vertices[v] = VertexInfo();
    subMesh.indices = std::move(output);
}

std::int64_t TriangleOrder::GetNextVertex()
{
    int best = -1;
    std::int64_t chosen = -1;
    for (const std::uint32_t v : candidates)
    {
        const VertexInfo& info = vertices[v];
        if (info.liveCount <= 0)
            continue;
        const int age = time - info.timeStamp;
        const int priority = age + 2 * info.liveCount <= cacheSize ? age : 0;
        if (priority > best)
        {
            best = priority;
            chosen = v;
        }
    }
    return chosen >= 0 ? chosen : SkipDeadEnd();
}

std::int64_t TriangleOrder::SkipDeadEnd()
{
    while (!deadEnds.empty())
    {
        const std::uint32_t v = deadEnds.back();
        deadEnds.pop_back();
        if (vertices[v].liveCount > 0)
            return v;
    }
    for (; cursor < used.size(); ++cursor)
    {
        if (vertices[used[cursor]].liveCount > 0)
            return used[cursor];
    }
    return -1;
}
