#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Material;
class TriangleOrder;
class ibinstream;
class obinstream;

namespace Model3D
{

class Mesh;

// A group of triangles of a mesh drawn with one material.
class SubMesh
{
public:
    // Takes the material (which may be null); room for the indices.
    SubMesh(Mesh* owner, int id, Material* material, std::uint32_t triangleCount);
    virtual ~SubMesh();
    SubMesh(const SubMesh&) = delete;
    SubMesh& operator=(const SubMesh&) = delete;

    // Reorders the triangles for the vertex cache.
    virtual void Prepare(TriangleOrder& order);
    virtual void CheckWritable(const std::string& modelDirectory) const;
    virtual void Write(obinstream& out, const std::string& modelDirectory) const;
    // Fills the indices; an index that is not below the owner's vertex count
    // or the end of the data fails with "Internal error".
    virtual void Read(ibinstream& in);

    Mesh* const owner;
    // The material's number in the source file; -1 for the shadow mesh.
    const int id;
    std::unique_ptr<Material> material;
    const std::uint32_t triangleCount;
    // Three vertex indices per triangle.
    std::vector<std::uint32_t> indices;

protected:
    void WriteTriangles(obinstream& out) const;
};

} // namespace Model3D
