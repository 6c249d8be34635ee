#include "Graphics/Model3D/LoaderModel.h"

#include "Engine/Error.h"
#include "Engine/ResourceLoader.h"
#include "Engine/StringUtil.h"
#include "Engine/ibinstream.h"
#include "Graphics/Model3D/Material.h"
#include "Graphics/Model3D/ModelFile.h"
#include "Graphics/Model3D/ShadowMesh.h"

#include <boost/iostreams/stream_buffer.hpp>

namespace Model3D
{

void LoaderModel::Load(MeshList& meshes)
{
    LoadData();
    boost::iostreams::stream_buffer<mem_source> buffer{mem_source(*this)};
    ibinstream in(&buffer);
    Read(in, store, directory, meshes);
}

void LoaderModel::Read(ibinstream& in, DataStore* store, const std::string& directory,
                       MeshList& meshes)
{
    std::string first;
    std::string second;
    in >> first >> second;
    if (first != "Modelfile" || second != "version")
        throw Error("Unknown filetype");
    int version = 0;
    in >> version;
    if (in.fail())
        ModelFile::Fail();
    if (version != ModelFile::Version)
        throw Error("Unknown modelfile version: ", ToString(version));
    ModelFile::Expect(in, "MeshCount:");
    const std::size_t meshCount = ModelFile::ReadCount(in);
    meshes.reserve(meshCount);
    for (std::size_t i = 0; i < meshCount; ++i)
    {
        ResourceLoader::StopPoint();
        meshes.push_back(ReadMesh(in, store, directory));
    }
    ModelFile::Expect(in, "Done");
}

std::unique_ptr<Mesh> LoaderModel::ReadMesh(ibinstream& in, DataStore* store,
                                            const std::string& directory)
{
    ModelFile::Expect(in, "Mesh:");
    std::string name;
    in >> name;
    ModelFile::Expect(in, "VertexCount:");
    const std::size_t vertexCount = ModelFile::ReadCount(in);
    auto mesh = std::make_unique<Mesh>(name, static_cast<std::uint32_t>(vertexCount));
    ReadMeshBody(in, store, directory, *mesh);
    return mesh;
}

void LoaderModel::ReadMeshBody(ibinstream& in, DataStore* store, const std::string& directory,
                               Mesh& mesh)
{
    for (std::uint32_t i = 0; i < mesh.vertexCount; ++i)
    {
        ModelFile::ReadFloats(in, &mesh.positions[i * 3], 3);
        ModelFile::ReadFloats(in, &mesh.normals[i * 3], 3);
        ModelFile::ReadFloats(in, &mesh.texCoords[i * 2], 2);
    }
    ModelFile::Expect(in, "SubMeshes:");
    const std::size_t subMeshCount = ModelFile::ReadCount(in);
    for (std::size_t i = 0; i < subMeshCount; ++i)
        mesh.subMeshes.push_back(ReadSubMesh(in, store, directory, mesh));

    ModelFile::Expect(in, "SubMesh:");
    int id = 0;
    in >> id;
    if (id != ModelFile::None)
        ModelFile::Fail();
    ModelFile::Expect(in, "TriCount:");
    const std::size_t triangleCount = ModelFile::ReadCount(in);
    mesh.shadowMesh = std::make_unique<ShadowMesh>(&mesh, static_cast<std::uint32_t>(triangleCount));
    mesh.shadowMesh->Read(in);
}

std::unique_ptr<SubMesh> LoaderModel::ReadSubMesh(ibinstream& in, DataStore* store,
                                                  const std::string& directory, Mesh& mesh)
{
    ModelFile::Expect(in, "SubMesh:");
    int id = 0;
    in >> id;
    std::string word;
    in >> word;
    std::unique_ptr<Material> material;
    if (word == "Material:")
    {
        material.reset(ReadMaterial(in, store, directory));
        in >> word;
    }
    if (word != "TriCount:")
        ModelFile::Fail();
    const std::size_t triangleCount = ModelFile::ReadCount(in);
    auto subMesh = std::make_unique<SubMesh>(&mesh, id, material.release(),
                                             static_cast<std::uint32_t>(triangleCount));
    subMesh->Read(in);
    return subMesh;
}

Material* LoaderModel::ReadMaterial(ibinstream& in, DataStore* store,
                                    const std::string& directory)
{
    std::string name;
    in >> name;
    auto material = std::make_unique<Material>(name);
    std::string word;
    in >> word;
    if (word == "Texture:")
    {
        std::string path;
        in >> path;
        if (!path.empty())
            material->SetTexture(store, directory + path);
    }
    else if (!word.empty())
        ModelFile::Fail();
    float values[18];
    ModelFile::ReadFloats(in, values, 18);
    material->SetAmbient(values[0], values[1], values[2], values[3])
        .SetDiffuse(values[4], values[5], values[6], values[7])
        .SetSpecular(values[8], values[9], values[10], values[11])
        .SetEmission(values[12], values[13], values[14], values[15])
        .SetShininess(values[16])
        .SetAlpha(values[17]);
    return material.release();
}

} // namespace Model3D
