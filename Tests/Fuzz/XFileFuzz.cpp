// Feeds arbitrary bytes to the .x importer and prepares what it accepts, as
// the loader does before converting. Every mesh it returns must be safe to
// draw and to cast shadows from: every index, edge end and face below its
// count, every position finite.
#include "Engine/DataStore.h"
#include "Engine/Error.h"
#include "Engine/Matrix.h"
#include "Engine/ResourceType.h"
#include "Graphics/Model3D/LoaderX.h"
#include "Graphics/Model3D/ShadowMesh.h"
#include "Graphics/Texture.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace
{

// Material textures are registered but never decoded or uploaded.
class UnloadedTexture : public Texture
{
public:
    using Texture::Texture;
    void Load() override {}
    void Finish() override {}
};

Resource* MakeTexture(const std::string& path, DataStore& /*store*/)
{
    return new UnloadedTexture(path);
}

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckMesh(const Model3D::Mesh& mesh)
{
    Require(mesh.vertexCount > 0);
    Require(mesh.positions.size() == mesh.vertexCount * std::size_t(3));
    Require(mesh.normals.size() == mesh.vertexCount * std::size_t(3));
    Require(mesh.texCoords.size() == mesh.vertexCount * std::size_t(2));
    for (const float value : mesh.positions)
        Require(std::isfinite(value));
    std::size_t triangles = 0;
    for (const std::unique_ptr<Model3D::SubMesh>& subMesh : mesh.subMeshes)
    {
        Require(subMesh->material != nullptr);
        Require(subMesh->indices.size() == subMesh->triangleCount * std::size_t(3));
        for (const std::uint32_t index : subMesh->indices)
            Require(index < mesh.vertexCount);
        triangles += subMesh->triangleCount;
    }
    const Model3D::ShadowMesh& shadow = *mesh.shadowMesh;
    Require(shadow.triangleCount == triangles);
    Require(shadow.faces.size() == shadow.triangleCount);
    for (const std::uint32_t index : shadow.indices)
        Require(index < mesh.vertexCount);
    for (const Model3D::ShadowMesh::Edge& edge : shadow.edges)
    {
        Require(edge.lower < edge.upper && edge.upper < mesh.vertexCount);
        Require(edge.face0 >= 0 && static_cast<std::uint32_t>(edge.face0) < shadow.triangleCount);
        Require(edge.face1 >= -1 && edge.face1 < static_cast<std::int32_t>(shadow.triangleCount));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A fresh store now and then, so that the textures of earlier inputs do
    // not pile up.
    static std::unique_ptr<DataStore> store;
    static unsigned runs = 0;
    if (runs++ % 4096 == 0)
    {
        DataStore::RegisterKind(ResourceType::Texture, MakeTexture);
        store.reset();
        store = std::make_unique<DataStore>(nullptr);
    }

    const char* text = reinterpret_cast<const char*>(data);
    Model3D::MeshList meshes;
    try
    {
        Model3D::LoaderX(store.get(), "Data/Models/Fuzz.x").Read(text, text + size, meshes);
        Model3D::ModelLoader::PrepareMeshes(meshes);
    }
    catch (const Error&)
    {
        return 0;
    }
    for (const std::unique_ptr<Model3D::Mesh>& mesh : meshes)
    {
        CheckMesh(*mesh);
        mesh->Transform(Math::Matrix::Identity);
    }
    return 0;
}
