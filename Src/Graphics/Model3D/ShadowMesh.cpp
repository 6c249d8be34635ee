#include "Graphics/Model3D/ShadowMesh.h"

#include "Engine/Vector.h"
#include "Engine/ibinstream.h"
#include "Engine/obinstream.h"
#include "Graphics/Model3D/Mesh.h"
#include "Graphics/Model3D/ModelFile.h"

#include <algorithm>
#include <utility>

namespace Model3D
{

namespace
{

// The corners of triangle f walked as its three edges.
struct Walk
{
    std::uint32_t from;
    std::uint32_t to;
};

void GetWalks(const std::uint32_t* corners, Walk (&walks)[3])
{
    walks[0] = {corners[0], corners[1]};
    walks[1] = {corners[1], corners[2]};
    walks[2] = {corners[2], corners[0]};
}

} // namespace

ShadowMesh::ShadowMesh(Mesh* owner, std::uint32_t triangleCount)
    : SubMesh(owner, ModelFile::None, nullptr, triangleCount),
      volume(GL_TRIANGLES, static_cast<int>(3 * triangleCount), static_cast<int>(triangleCount),
             false, false, false, 3),
      faces(triangleCount)
{
}

void ShadowMesh::Prepare(TriangleOrder& order)
{
    SubMesh::Prepare(order);
    BuildEdges();
    ComputeFacePlanes(owner->positions.data());
}

void ShadowMesh::CheckWritable(const std::string& /*modelDirectory*/) const
{
    const std::string owner = "The shadow mesh of mesh '" + this->owner->name + "'";
    ModelFile::CheckCount(triangleCount, ModelFile::MaxCount, owner, "triangles");
    ModelFile::CheckCount(edges.size(), ModelFile::MaxEdges, owner, "edges");
}

void ShadowMesh::Write(obinstream& out, const std::string& modelDirectory) const
{
    SubMesh::Write(out, modelDirectory);
    out << "EdgeCount: " << static_cast<unsigned>(edges.size());
    for (const Edge& edge : edges)
        out << edge.lower << edge.upper << edge.face0 << edge.face1;
    out << "FaceNormals: " << triangleCount;
    for (const Face& face : faces)
        out << face.a << face.b << face.c << face.d;
}

void ShadowMesh::Read(ibinstream& in)
{
    SubMesh::Read(in);
    ModelFile::Expect(in, "EdgeCount:");
    const std::uint32_t edgeCount = ModelFile::ReadIndex(in, ModelFile::MaxEdges + 1);
    edges.clear();
    edges.reserve(edgeCount);
    for (std::uint32_t i = 0; i < edgeCount; ++i)
    {
        Edge edge;
        edge.lower = ModelFile::ReadIndex(in, owner->vertexCount);
        edge.upper = ModelFile::ReadIndex(in, owner->vertexCount);
        edge.face0 = ModelFile::ReadFace(in, triangleCount, false);
        edge.face1 = ModelFile::ReadFace(in, triangleCount, true);
        edges.push_back(edge);
    }
    ModelFile::Expect(in, "FaceNormals:");
    ModelFile::ExpectCount(in, triangleCount);
    for (Face& face : faces)
    {
        float plane[4];
        ModelFile::ReadFloats(in, plane, 4);
        face = {false, plane[0], plane[1], plane[2], plane[3]};
    }
}

void ShadowMesh::BuildEdges()
{
    edges.clear();
    for (std::uint32_t f = 0; f < triangleCount; ++f)
    {
        Walk walks[3];
        GetWalks(&indices[f * 3], walks);
        for (const Walk& walk : walks)
        {
            if (walk.from < walk.to)
                AddEdge(walk.from, walk.to, static_cast<std::int32_t>(f));
        }
    }
    LinkFaces();
}

void ShadowMesh::AddEdge(std::uint32_t lower, std::uint32_t upper, std::int32_t face)
{
    edges.push_back({lower, upper, face, ModelFile::None});
}

void ShadowMesh::LinkFaces()
{
    // The records still without a second face, sorted by their ends and then
    // by their place in the list; each run of equal ends fills from its front,
    // taken[run start] records along.
    std::vector<std::uint32_t> open;
    for (std::uint32_t i = 0; i < edges.size(); ++i)
    {
        if (edges[i].face1 == ModelFile::None)
            open.push_back(i);
    }
    const auto endsOf = [this](std::uint32_t i) { return std::make_pair(edges[i].lower, edges[i].upper); };
    std::sort(open.begin(), open.end(),
              [&](std::uint32_t a, std::uint32_t b) { return std::make_pair(endsOf(a), a) < std::make_pair(endsOf(b), b); });
    std::vector<std::uint32_t> taken(open.size(), 0);
    for (std::uint32_t f = 0; f < triangleCount; ++f)
    {
        Walk walks[3];
        GetWalks(&indices[f * 3], walks);
        for (const Walk& walk : walks)
        {
            if (walk.from <= walk.to)
                continue;
            const std::pair<std::uint32_t, std::uint32_t> ends(walk.to, walk.from);
            const auto run = std::lower_bound(open.begin(), open.end(), ends,
                                              [&](std::uint32_t i, const auto& key) { return endsOf(i) < key; });
            if (run == open.end())
                continue;
            const std::size_t start = static_cast<std::size_t>(run - open.begin());
            const std::size_t next = start + taken[start];
            if (next < open.size() && endsOf(open[next]) == ends)
            {
                edges[open[next]].face1 = static_cast<std::int32_t>(f);
                ++taken[start];
            }
        }
    }
}

void ShadowMesh::ComputeFacePlanes(const float* positions)
{
    for (std::uint32_t f = 0; f < triangleCount; ++f)
    {
        const Math::Vector p0(&positions[indices[f * 3] * 3]);
        const Math::Vector p1(&positions[indices[f * 3 + 1] * 3]);
        const Math::Vector p2(&positions[indices[f * 3 + 2] * 3]);
        Math::Vector n = (p1 - p0).Cross(p2 - p0);
        Face& face = faces[f];
        if (n.Length() == 0.0f)
        {
            face = {false, 0.0f, 0.0f, 0.0f, 0.0f};
            continue;
        }
        n.Normalize();
        // 0 - x keeps a plane through the origin at +0, never -0.
        face = {false, n[0], n[1], n[2], 0.0f - n.Dot(p0)};
    }
}

} // namespace Model3D
