#pragma once

#include "Graphics/Model3D/ModelLoader.h"

class DataStore;
class Material;
class ibinstream;

namespace Model3D
{

class SubMesh;

// Reads the system's own model file, whose meshes are stored prepared.
class LoaderModel : public ModelLoader
{
public:
    using ModelLoader::ModelLoader;

    void Load(MeshList& meshes) override;

    // Reads a whole model file from the stream into the empty list; material
    // textures are registered in the store under the directory followed by
    // their stored paths. Throws Error on any fault of the data.
    static void Read(ibinstream& in, DataStore* store, const std::string& directory,
                     MeshList& meshes);

private:
    static std::unique_ptr<Mesh> ReadMesh(ibinstream& in, DataStore* store,
                                          const std::string& directory);
    static void ReadMeshBody(ibinstream& in, DataStore* store, const std::string& directory,
                             Mesh& mesh);
    static std::unique_ptr<SubMesh> ReadSubMesh(ibinstream& in, DataStore* store,
                                                const std::string& directory, Mesh& mesh);
    static Material* ReadMaterial(ibinstream& in, DataStore* store,
                                  const std::string& directory);
};

} // namespace Model3D
