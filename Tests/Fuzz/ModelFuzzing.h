#pragma once

// What the fuzz targets of the model readers share: a store whose textures are
// never decoded, and the checks that make a mesh safe to draw and to cast
// shadows from.
#include "Engine/DataStore.h"
#include "Engine/ResourceType.h"
#include "Graphics/Model3D/ShadowMesh.h"
#include "Graphics/Texture.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace ModelFuzzing
{

// Material textures are registered but never decoded or uploaded.
class UnloadedTexture : public Texture
{
public:
    using Texture::Texture;
    void Load() override {}
    void Finish() override {}
};

inline Resource* MakeTexture(const std::string& path, DataStore& /*store*/)
{
    return new UnloadedTexture(path);
}

// A fresh store now and then, so that the textures of earlier inputs do not
// pile up.
inline DataStore* Store()
{
    static std::unique_ptr<DataStore> store;
    static unsigned runs = 0;
    if (runs++ % 4096 == 0)
    {
        DataStore::RegisterKind(ResourceType::Texture, MakeTexture);
        store.reset();
        store = std::make_unique<DataStore>(nullptr);
    }
    return store.get();
}

inline void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// Every array of its size, every index, edge end and face below its count.
inline void CheckMesh(const Model3D::Mesh& mesh)
{
    Require(mesh.positions.size() == mesh.vertexCount * std::size_t(3));
    Require(mesh.normals.size() == mesh.vertexCount * std::size_t(3));
    Require(mesh.texCoords.size() == mesh.vertexCount * std::size_t(2));
    for (const std::unique_ptr<Model3D::SubMesh>& subMesh : mesh.subMeshes)
    {
        Require(subMesh->indices.size() == subMesh->triangleCount * std::size_t(3));
        for (const std::uint32_t index : subMesh->indices)
            Require(index < mesh.vertexCount);
    }
    const Model3D::ShadowMesh& shadow = *mesh.shadowMesh;
    Require(shadow.faces.size() == shadow.triangleCount);
    for (const std::uint32_t index : shadow.indices)
        Require(index < mesh.vertexCount);
    for (const Model3D::ShadowMesh::Edge& edge : shadow.edges)
    {
        Require(edge.lower < mesh.vertexCount && edge.upper < mesh.vertexCount);
        Require(edge.face0 >= 0 && static_cast<std::uint32_t>(edge.face0) < shadow.triangleCount);
        Require(edge.face1 >= -1 && edge.face1 < static_cast<std::int32_t>(shadow.triangleCount));
    }
}

} // namespace ModelFuzzing
