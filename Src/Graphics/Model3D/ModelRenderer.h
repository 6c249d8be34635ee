#pragma once

#include "Engine/Matrix.h"
#include "Engine/Profiler.h"

#include <vector>

class Light;
class Model;

namespace Model3D
{
class Mesh;
}

// Draws one model for one world object under the object's matrix, and casts
// the object's stencil shadow volume from one light. Several renderers may
// share a model; both draws do nothing until it is ready. Main thread only.
class ModelRenderer
{
public:
    // The model is not owned.
    explicit ModelRenderer(Model* model);
    ~ModelRenderer();
    ModelRenderer(const ModelRenderer&) = delete;
    ModelRenderer& operator=(const ModelRenderer&) = delete;

    // Every mesh with its materials.
    void Draw();

    // A z-pass volume without caps, from the silhouette to an apex opposite
    // the light: its front faces count the stencil up, its back faces down.
    // The caller sets the rest of the pass's state.
    void DrawShadowVolume(const Light* light);

    // The world transform of the object, written by the owner before a draw.
    Math::Matrix objectMatrix = Math::Matrix::Identity;

private:
    // One identity matrix per mesh, made by the first draw of the ready model.
    void CreateMeshMatrices();
    void DrawMesh(const Model3D::Mesh& mesh, const Math::Matrix& meshMatrix,
                  bool& texCoordsOn) const;
    void CastShadow(Model3D::Mesh& mesh, const Math::Matrix& meshMatrix,
                    const Light& light) const;

    std::vector<Math::Matrix> meshMatrices;
    Model* const model;
    bool meshMatricesCreated = false;
    Profiler profiler;
};
