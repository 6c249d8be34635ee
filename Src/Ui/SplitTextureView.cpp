#include "Ui/SplitTextureView.h"

#include "Graphics/Texture.h"
#include "Ui/TexturedQuad.h"

#include <algorithm>

namespace Ui
{

SplitTextureView::SplitTextureView(FrameModel* model, Texture* texture)
    : TextureView(model, texture)
{
}

void SplitTextureView::SetSplit(float newLeft, float newRight, float newTop, float newBottom)
{
    left = newLeft;
    right = newRight;
    top = newTop;
    bottom = newBottom;
    hasSplit = true;
}

bool SplitTextureView::GetGrid(Grid& grid) const
{
    if (!texture || texture->width <= 0 || texture->height <= 0)
        return false;
    const float w = static_cast<float>(texture->width);
    const float h = static_cast<float>(texture->height);
    const float l = hasSplit ? std::clamp(left, 0.0f, w) : texture->width / 4;
    const float r = hasSplit ? std::clamp(right, 0.0f, w) : 3 * texture->width / 4;
    const float t = hasSplit ? std::clamp(top, 0.0f, h) : texture->height / 4;
    const float b = hasSplit ? std::clamp(bottom, 0.0f, h) : 3 * texture->height / 4;
    grid = {{x, x + scale * l, x + width - scale * (w - r), x + width},
            {y, y + scale * t, y + height - scale * (h - b), y + height},
            {0.0f, l / w, r / w, 1.0f},
            {0.0f, t / h, b / h, 1.0f}};
    return true;
}

void SplitTextureView::DrawQuad()
{
    Grid grid;
    if (!GetGrid(grid))
        return;
    for (int row = 0; row < 3; ++row)
    {
        for (int column = 0; column < 3; ++column)
            DrawTexturedQuad({grid.x[column], grid.y[row], grid.x[column + 1], grid.y[row + 1]},
                             {grid.u[column], grid.v[row], grid.u[column + 1], grid.v[row + 1]});
    }
}

} // namespace Ui
