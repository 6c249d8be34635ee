#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class obinstream;

namespace Math
{
class Matrix;
}

namespace Model3D
{

class ShadowMesh;
class SubMesh;

// One part of a model: its vertex arrays, its triangle groups with a material
// each, and the shadow mesh that casts its stencil shadow. The arrays are
// plain contiguous floats handed to OpenGL as they are.
class Mesh
{
public:
    // Arrays for the vertices, their values left for the caller.
    Mesh(const std::string& name, std::uint32_t vertexCount);
    ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // Builds the shadow mesh from every triangle, welds the vertices, orders
    // the triangles for a vertex cache of 8 and joins the shadow mesh's
    // corners by position. Throws Error for a mesh without vertices or with a
    // position that is not finite.
    void Prepare();

    // Positions as points, normals by the 3 x 3 part (made unit length again,
    // so that a scale leaves the lighting right) and the shadow planes made
    // again from the moved positions.
    void Transform(const Math::Matrix& m);

    // Throws Error when the mesh could not be read back from a model file:
    // a name or path holding a delimiter, a count beyond the format's limits
    // or no shadow mesh.
    void CheckWritable(const std::string& modelDirectory) const;
    void Write(obinstream& out, const std::string& modelDirectory) const;

    std::string name;
    std::uint32_t vertexCount;
    std::vector<float> positions; // x, y, z per vertex
    std::vector<float> texCoords; // u, v
    std::vector<float> normals;   // x, y, z
    std::vector<std::unique_ptr<SubMesh>> subMeshes;
    std::unique_ptr<ShadowMesh> shadowMesh;
};

using MeshList = std::vector<std::unique_ptr<Mesh>>;

// m x (v, w) into the three floats at v: w = 1 for a point, 0 for a
// direction.
void TransformInPlace(const Math::Matrix& m, float* v, float w);

} // namespace Model3D
