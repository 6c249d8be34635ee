// Feeds arbitrary bytes to the .x importer and prepares what it accepts, as
// the loader does before converting. Every mesh it returns must be safe to
// draw and to cast shadows from, with its vertices finite, a material on every
// sub-mesh and the shadow mesh over every triangle.
#include "Engine/Error.h"
#include "Engine/Matrix.h"
#include "Graphics/Model3D/LoaderX.h"
#include "Fuzz/ModelFuzzing.h"

#include <cmath>

using ModelFuzzing::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DataStore* store = ModelFuzzing::Store();
    const char* text = reinterpret_cast<const char*>(data);
    Model3D::MeshList meshes;
    try
    {
        Model3D::LoaderX(store, "Data/Models/Fuzz.x").Read(text, text + size, meshes);
        Model3D::ModelLoader::PrepareMeshes(meshes);
    }
    catch (const Error&)
    {
        return 0;
    }
    for (const std::unique_ptr<Model3D::Mesh>& mesh : meshes)
    {
        ModelFuzzing::CheckMesh(*mesh);
        Require(mesh->vertexCount > 0);
        for (const float value : mesh->positions)
            Require(std::isfinite(value));
        std::size_t triangles = 0;
        for (const std::unique_ptr<Model3D::SubMesh>& subMesh : mesh->subMeshes)
        {
            Require(subMesh->material != nullptr);
            triangles += subMesh->triangleCount;
        }
        Require(mesh->shadowMesh->triangleCount == triangles);
        for (const Model3D::ShadowMesh::Edge& edge : mesh->shadowMesh->edges)
            Require(edge.lower < edge.upper);
        mesh->Transform(Math::Matrix::Identity);
    }
    return 0;
}
