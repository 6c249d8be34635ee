#include "Game/Objects/Object3DView.h"

#include "Game/Objects/Object3DModel.h"

// The renderer is made after the base, so its matrix becomes the target here.
Object3DView::Object3DView(Object3DModel* model)
    : PositionView(model, nullptr), renderer(model->GetMesh())
{
    target = &renderer.objectMatrix;
}

void Object3DView::Draw()
{
    ApplyOffset();
    renderer.Draw();
}

void Object3DView::DrawShadowVolume(Light* light)
{
    renderer.DrawShadowVolume(light);
}
