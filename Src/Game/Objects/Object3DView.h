#pragma once

#include "Game/Objects/PositionView.h"
#include "Graphics/Model3D/ModelRenderer.h"

class Object3DModel;

// Draws an object's 3D model and casts its shadow volume. The interpolated
// transform is the renderer's object matrix itself.
class Object3DView : public PositionView
{
public:
    explicit Object3DView(Object3DModel* model);

    void Draw() override;
    void DrawShadowVolume(Light* light) override;

private:
    ModelRenderer renderer;
};
