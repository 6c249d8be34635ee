#include "Ui/AnimView.h"

#include "Engine/Color.h"
#include "Graphics/Texture.h"
#include "Ui/AnimModel.h"
#include "Ui/TexturedQuad.h"

#include <GL/gl.h>

namespace Ui
{

AnimView::AnimView(AnimModel* model) : FrameView(model) {}

// The model may count frames whose texture was never added.
void AnimView::Draw()
{
    FrameView::Draw();
    const int frame = static_cast<const AnimModel&>(GetFrameModel()).GetFrame();
    if (frame < 0 || frame >= static_cast<int>(textures.size()))
        return;
    const Texture* const texture = textures[frame];
    if (!texture || !texture->IsReady())
        return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture->textureId);
    Color::White.Apply();
    DrawTexturedQuad({x, y, x + width, y + height}, {0.0f, 0.0f, 1.0f, 1.0f});
}

} // namespace Ui
