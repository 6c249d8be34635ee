// Feeds arbitrary bytes to the model file reader. Whatever it accepts must be
// safe to draw and to cast shadows from: every index, edge end and face below
// its count.
#include "Engine/Error.h"
#include "Engine/Matrix.h"
#include "Engine/ibinstream.h"
#include "Graphics/Model3D/LoaderModel.h"
#include "Fuzz/ModelFuzzing.h"

#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DataStore* store = ModelFuzzing::Store();
    std::stringbuf buffer(std::string(reinterpret_cast<const char*>(data), size));
    ibinstream in(&buffer);
    Model3D::MeshList meshes;
    try
    {
        Model3D::LoaderModel::Read(in, store, "Data/Models/", meshes);
    }
    catch (const Error&)
    {
        return 0;
    }
    for (const std::unique_ptr<Model3D::Mesh>& mesh : meshes)
    {
        ModelFuzzing::CheckMesh(*mesh);
        // Reads every position through the shadow mesh's indices.
        mesh->Transform(Math::Matrix::Identity);
    }
    return 0;
}
