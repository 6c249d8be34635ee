#pragma once

#include "Engine/Resource.h"
#include "Graphics/Model3D/Mesh.h"

class DataStore;

namespace Math
{
class Matrix;
}

// The resource kind "3DModel": the meshes of one model file, loaded on the
// store's loader thread and then deformed by the "deform" elements of the
// resource's definition, which stand inline in its "resource" element.
class Model : public Resource
{
public:
    // The store receives the textures of the materials.
    Model(DataStore* store, const std::string& path);
    ~Model() override;

    // A model without meshes under the name, ready from the start: the mesh
    // of what is not drawn.
    static Model* MakeEmpty(const std::string& name);

    void Load() override;
    bool ParseElement(const TiXmlElement* element, const std::string& lowerTag) override;

    // In the order of the file; read them only once the model is ready.
    const Model3D::MeshList& GetMeshes() const { return meshes; }

private:
    Model(const std::string& name, bool ready);

    // The product of the children, the first acting first on a point.
    void ParseDeform(const TiXmlElement* element);
    static Math::Matrix ParseMove(const TiXmlElement* element);
    static Math::Matrix ParseRotate(const TiXmlElement* element);
    static Math::Matrix ParseScale(const TiXmlElement* element);
    static Math::Matrix ParseMatrix(const TiXmlElement* element);
    void ApplyMatrix(const Math::Matrix& matrix);

    DataStore* const store;
    Model3D::MeshList meshes;
};
