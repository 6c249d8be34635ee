#pragma once

#include "Graphics/Model3D/SubMesh.h"
#include "Graphics/VertexArray.h"

namespace Model3D
{

// Every triangle of a mesh over one vertex per position, with the edges and
// face planes that the stencil shadow pass reads. The volume array and the
// facesApex flags are the pass's scratch.
class ShadowMesh : public SubMesh
{
public:
    struct Edge
    {
        std::uint32_t lower;
        std::uint32_t upper; // lower < upper
        std::int32_t face0;  // the triangle that walks the edge from lower to upper
        std::int32_t face1;  // the one that walks it back, or -1
    };

    struct Face
    {
        bool facesApex;
        // The unit normal and d = -(normal . first corner).
        float a, b, c, d;
    };

    ShadowMesh(Mesh* owner, std::uint32_t triangleCount);

    // Reorders the triangles, then builds the edges and the face planes.
    void Prepare(TriangleOrder& order) override;
    void CheckWritable(const std::string& modelDirectory) const override;
    void Write(obinstream& out, const std::string& modelDirectory) const override;
    // The indices, edges and planes; every edge end below the vertex count,
    // face0 a triangle, face1 -1 or a triangle.
    void Read(ibinstream& in) override;

    // One record for each edge that a triangle walks from its smaller vertex,
    // then the second faces linked.
    void BuildEdges();
    void AddEdge(std::uint32_t lower, std::uint32_t upper, std::int32_t face);
    // Each walk of an edge from its larger vertex fills face1 of the first
    // record of that edge still without one, in list order.
    void LinkFaces();
    // The owner's positions, x, y, z per vertex; a degenerate triangle gets
    // the plane (0, 0, 0, 0).
    void ComputeFacePlanes(const float* positions);

    VertexArray volume;
    std::vector<Edge> edges;
    std::vector<Face> faces;
};

} // namespace Model3D
