#pragma once

#include "Game/Objects/PositionModel.h"

#include <string>

class DataStore;
class Model;

// A positioned object drawn with a 3D model. It joins the world once its mesh
// is ready.
class Object3DModel : public PositionModel
{
public:
    // The mesh is the store's; a null one throws Error.
    explicit Object3DModel(Model* mesh);

    bool IsReadyToJoin() const override;

    Model* GetMesh() const { return mesh; }

    // The "3DModel" resource of the name, which must exist: an empty name or a
    // resource of another kind throws the store's missing-resource Error too.
    static Model* RequireMesh(DataStore& store, const std::string& name);

private:
    Model* const mesh;
};
