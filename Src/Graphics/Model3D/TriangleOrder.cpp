#include "Graphics/Model3D/TriangleOrder.h"

#include "Graphics/Model3D/Mesh.h"
#include "Graphics/Model3D/SubMesh.h"

#include <algorithm>

TriangleOrder::TriangleOrder(const Model3D::Mesh* mesh, int cacheSize)
    : cacheSize(cacheSize), vertices(mesh->vertexCount)
{
}

TriangleOrder::~TriangleOrder() = default;

void TriangleOrder::Optimize(Model3D::SubMesh& subMesh)
{
    const std::vector<std::uint32_t>& indices = subMesh.indices;
    const std::uint32_t triangleCount = subMesh.triangleCount;
    if (triangleCount == 0 || vertices.empty())
        return;
    Gather(indices);
    deadEnds.clear();
    deadEnds.reserve(indices.size());
    time = cacheSize + 1;

    std::vector<std::uint8_t> emitted(triangleCount, 0);
    std::vector<std::uint32_t> output;
    output.reserve(indices.size());
    for (std::int64_t fan = 0; fan >= 0; fan = GetNextVertex())
    {
        candidates.clear();
        const VertexInfo& fanInfo = vertices[fan];
        for (int j = 0; j < fanInfo.useCount; ++j)
        {
            const std::uint32_t f = adjacency[fanInfo.firstTriangle + j];
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
            emitted[f] = 1;
        }
    }

    // Leaves the records clean for the next sub-mesh.
    for (const std::uint32_t v : used)
        vertices[v] = VertexInfo();
    subMesh.indices = std::move(output);
}

void TriangleOrder::Gather(const std::vector<std::uint32_t>& indices)
{
    used.clear();
    for (const std::uint32_t v : indices)
    {
        if (vertices[v].useCount++ == 0)
            used.push_back(v);
    }
    // In order: sorted when few, gathered from all vertices when many.
    if (used.size() < vertices.size() / 16)
        std::sort(used.begin(), used.end());
    else
    {
        used.clear();
        for (std::uint32_t v = 0; v < vertices.size(); ++v)
        {
            if (vertices[v].useCount > 0)
                used.push_back(v);
        }
    }
    std::size_t next = 0;
    for (const std::uint32_t v : used)
    {
        VertexInfo& info = vertices[v];
        info.firstTriangle = next;
        info.liveCount = info.useCount;
        next += static_cast<std::size_t>(info.useCount);
    }
    adjacency.resize(next);
    // liveCount counts down while the adjacency is filled in triangle order,
    // and is set again below.
    for (std::size_t i = 0; i < indices.size(); ++i)
    {
        VertexInfo& info = vertices[indices[i]];
        adjacency[info.firstTriangle + static_cast<std::size_t>(info.useCount - info.liveCount--)] =
            static_cast<std::uint32_t>(i / 3);
    }
    for (const std::uint32_t v : used)
        vertices[v].liveCount = vertices[v].useCount;
    cursor = !used.empty() && used.front() == 0 ? 1 : 0;
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
