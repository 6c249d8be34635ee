#pragma once

#include <cstdint>
#include <vector>

namespace Model3D
{
class Mesh;
class SubMesh;
}

// Orders triangles for a post-transform vertex cache of a given size: a walk
// that fans out around one vertex at a time and moves on to the vertex that
// stays longest useful in the cache (the method known as Tipsify). One order
// serves every sub-mesh and the shadow mesh of one mesh.
class TriangleOrder
{
public:
    // Records for every vertex of the mesh.
    TriangleOrder(const Model3D::Mesh* mesh, int cacheSize);
    ~TriangleOrder();

    // Reorders the sub-mesh's triangles; each keeps its corners in their
    // order. Costs the sub-mesh's corners and the sorting of the vertices it
    // uses, whatever the size of the mesh.
    void Optimize(Model3D::SubMesh& subMesh);

private:
    struct VertexInfo
    {
        int useCount = 0;
        // The adjacent triangles, a triangle once per corner: useCount
        // entries of the adjacency from here on.
        std::size_t firstTriangle = 0;
        int liveCount = 0; // adjacent triangles not yet emitted
        int timeStamp = 0;
    };

    // Counts the uses, lists the used vertices and lays out the adjacency.
    void Gather(const std::vector<std::uint32_t>& indices);

    // The live candidate that stays in the cache longest once its triangles
    // are emitted, or the next vertex with live triangles, or -1.
    std::int64_t GetNextVertex();
    std::int64_t SkipDeadEnd();

    const int cacheSize;
    std::vector<VertexInfo> vertices;
    // The state of one ordering. The adjacency of every vertex in one array.
    std::vector<std::uint32_t> adjacency;
    std::vector<std::uint32_t> candidates;
    std::vector<std::uint32_t> deadEnds;
    // The vertices the sub-mesh uses, in order; the cursor walks those above
    // vertex 0 when the dead-end stack runs empty.
    std::vector<std::uint32_t> used;
    std::size_t cursor = 0;
    int time = 0;
};
