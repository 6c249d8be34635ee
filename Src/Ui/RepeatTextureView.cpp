#include "Ui/RepeatTextureView.h"

#include "Engine/LuaState.h"
#include "Ui/FrameModel.h"
#include "Ui/LuaSelf.h"
#include "Ui/TexturedQuad.h"

#include <GL/gl.h>

namespace Ui
{

RepeatTextureView::RepeatTextureView(FrameModel* model, Texture* texture)
    : TextureView(model, texture)
{
    model->AddMethods({{"SetTexWidth", SetFields<&RepeatTextureView::tileWidth>},
                       {"GetTexWidth", GetFields<&RepeatTextureView::tileWidth>},
                       {"SetTexHeight", SetFields<&RepeatTextureView::tileHeight>},
                       {"GetTexHeight", GetFields<&RepeatTextureView::tileHeight>},
                       {"SetTexSize",
                        SetFields<&RepeatTextureView::tileWidth, &RepeatTextureView::tileHeight>},
                       {"GetTexSize",
                        GetFields<&RepeatTextureView::tileWidth, &RepeatTextureView::tileHeight>}});
}

bool RepeatTextureView::GetRepeats(float& across, float& down) const
{
    const float tileScreenWidth = tileWidth * scale;
    const float tileScreenHeight = tileHeight * scale;
    if (tileScreenWidth <= 0.0f || tileScreenHeight <= 0.0f)
        return false;
    across = width / tileScreenWidth;
    down = height / tileScreenHeight;
    return true;
}

void RepeatTextureView::DrawQuad()
{
    float across = 0.0f;
    float down = 0.0f;
    if (GetRepeats(across, down))
        DrawTexturedQuad({x, y, x + width, y + height}, {0.0f, 0.0f, across, down});
}

void RepeatTextureView::SetTextureParameters()
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

} // namespace Ui
