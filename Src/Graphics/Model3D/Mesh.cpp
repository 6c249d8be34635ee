#include "Graphics/Model3D/Mesh.h"

#include "Engine/Matrix.h"
#include "Engine/Vector.h"
#include "Engine/obinstream.h"
#include "Graphics/Model3D/ModelFile.h"
#include "Graphics/Model3D/ShadowMesh.h"
#include "Graphics/Model3D/TriangleOrder.h"
#include "Graphics/Model3D/VertexWelder.h"

#include "Engine/Error.h"

#include <algorithm>

namespace Model3D
{

namespace
{

// Cells of 1/1024 on every axis.
const int WeldDepth = 10;
const int CacheSize = 8;

} // namespace

void TransformInPlace(const Math::Matrix& m, float* v, float w)
{
    const float x = v[0];
    const float y = v[1];
    const float z = v[2];
    for (int row = 0; row < 3; ++row)
        v[row] = m(0, row) * x + m(1, row) * y + m(2, row) * z + m(3, row) * w;
}

Mesh::Mesh(const std::string& name, std::uint32_t vertexCount)
    : name(name), vertexCount(vertexCount), positions(vertexCount * std::size_t(3)),
      texCoords(vertexCount * std::size_t(2)), normals(vertexCount * std::size_t(3))
{
}

Mesh::~Mesh() = default;

void Mesh::Prepare()
{
    if (vertexCount == 0)
        throw Error("Mesh '", name, "' has no vertices");
    std::uint32_t triangleCount = 0;
    for (const std::unique_ptr<SubMesh>& subMesh : subMeshes)
        triangleCount += subMesh->triangleCount;
    shadowMesh = std::make_unique<ShadowMesh>(this, triangleCount);
    auto corner = shadowMesh->indices.begin();
    for (const std::unique_ptr<SubMesh>& subMesh : subMeshes)
        corner = std::copy(subMesh->indices.begin(), subMesh->indices.end(), corner);

    VertexWelder welder(WeldDepth);
    try
    {
        welder.Weld(*this);
    }
    catch (const std::exception& e)
    {
        throw Error("Mesh '", name, "': ", e.what());
    }
    TriangleOrder order(this, CacheSize);
    for (const std::unique_ptr<SubMesh>& subMesh : subMeshes)
        subMesh->Prepare(order);
    welder.ClearCells();
    welder.MergePositions(*this);
    shadowMesh->Prepare(order);
}

void Mesh::Transform(const Math::Matrix& m)
{
    for (std::uint32_t i = 0; i < vertexCount; ++i)
    {
        TransformInPlace(m, &positions[i * 3], 1.0f);
        float* normal = &normals[i * 3];
        TransformInPlace(m, normal, 0.0f);
        Math::RawMemVector<3>(normal).Normalize();
    }
    if (shadowMesh)
        shadowMesh->ComputeFacePlanes(positions.data());
}

void Mesh::CheckWritable(const std::string& modelDirectory) const
{
    ModelFile::CheckWord(name, "The mesh name");
    const std::string owner = "Mesh '" + name + "'";
    ModelFile::CheckCount(vertexCount, ModelFile::MaxCount, owner, "vertices");
    ModelFile::CheckCount(subMeshes.size(), ModelFile::MaxCount, owner, "sub-meshes");
    if (!shadowMesh)
        throw Error(owner, " has no shadow mesh");
    for (const std::unique_ptr<SubMesh>& subMesh : subMeshes)
        subMesh->CheckWritable(modelDirectory);
    shadowMesh->CheckWritable(modelDirectory);
}

void Mesh::Write(obinstream& out, const std::string& modelDirectory) const
{
    out << "Mesh: " << name << "\n" << "VertexCount: " << vertexCount;
    for (std::uint32_t i = 0; i < vertexCount; ++i)
    {
        const float* position = &positions[i * 3];
        const float* normal = &normals[i * 3];
        const float* texCoord = &texCoords[i * 2];
        out << position[0] << position[1] << position[2] << normal[0] << normal[1] << normal[2]
            << texCoord[0] << texCoord[1];
    }
    out << "SubMeshes: " << static_cast<unsigned>(subMeshes.size());
    for (const std::unique_ptr<SubMesh>& subMesh : subMeshes)
        subMesh->Write(out, modelDirectory);
    shadowMesh->Write(out, modelDirectory);
}

} // namespace Model3D
