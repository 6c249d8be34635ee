#include "Game/Objects/Object3DModel.h"

#include "Engine/DataStore.h"
#include "Engine/Error.h"
#include "Graphics/Model3D/Model.h"

namespace
{

Model* CheckMesh(Model* mesh)
{
    if (!mesh)
        throw Error("A world object needs a 3D model");
    return mesh;
}

} // namespace

Object3DModel::Object3DModel(Model* mesh) : mesh(CheckMesh(mesh)) {}

bool Object3DModel::IsReadyToJoin() const
{
    return mesh->IsReady();
}

Model* Object3DModel::RequireMesh(DataStore& store, const std::string& name)
{
    if (name.empty())
        throw Error("Missing resource: '", name, "'");
    return store.GetModel(name, true);
}
