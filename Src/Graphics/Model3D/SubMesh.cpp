#include "Graphics/Model3D/SubMesh.h"

#include "Engine/ibinstream.h"
#include "Engine/obinstream.h"
#include "Graphics/Model3D/Material.h"
#include "Graphics/Model3D/Mesh.h"
#include "Graphics/Model3D/ModelFile.h"
#include "Graphics/Model3D/TriangleOrder.h"

namespace Model3D
{

SubMesh::SubMesh(Mesh* owner, int id, Material* material, std::uint32_t triangleCount)
    : owner(owner), id(id), material(material), triangleCount(triangleCount),
      indices(triangleCount * std::size_t(3))
{
}

SubMesh::~SubMesh() = default;

void SubMesh::Prepare(TriangleOrder& order)
{
    order.Optimize(*this);
}

void SubMesh::CheckWritable(const std::string& modelDirectory) const
{
    ModelFile::CheckCount(triangleCount, ModelFile::MaxCount,
                          "A sub-mesh of mesh '" + owner->name + "'", "triangles");
    if (material)
        material->CheckWritable(modelDirectory);
}

void SubMesh::Write(obinstream& out, const std::string& modelDirectory) const
{
    out << "SubMesh: " << id;
    if (material)
        material->Write(out, modelDirectory);
    WriteTriangles(out);
}

void SubMesh::Read(ibinstream& in)
{
    for (std::uint32_t& index : indices)
        index = ModelFile::ReadIndex(in, owner->vertexCount);
}

void SubMesh::WriteTriangles(obinstream& out) const
{
    out << "TriCount: " << triangleCount;
    for (const std::uint32_t index : indices)
        out << index;
}

} // namespace Model3D
