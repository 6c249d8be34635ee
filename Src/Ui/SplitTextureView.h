#pragma once

#include "Ui/TextureView.h"

namespace Ui
{

// A nine-slice texture: the split lines cut the texture into a 3 by 3 grid
// whose corner cells keep their size times the scale while the middle row
// and column stretch over the view.
class SplitTextureView : public TextureView
{
public:
    // The edges of the grid's rows and columns: on the screen, and in texture
    // coordinates.
    struct Grid
    {
        float x[4];
        float y[4];
        float u[4];
        float v[4];
    };

    SplitTextureView(FrameModel* model, Texture* texture);

    // In texture pixels from the texture's left and top edges. Until set, the
    // lines lie at a quarter and three quarters of the texture's size.
    void SetSplit(float newLeft, float newRight, float newTop, float newBottom);

    // The grid for the view as laid out and the texture's size; the split
    // lines are clamped into the texture. False while the texture has no size.
    bool GetGrid(Grid& grid) const;

protected:
    void DrawQuad() override;

private:
    bool hasSplit = false;
    float left = 0.0f;
    float right = 0.0f;
    float top = 0.0f;
    float bottom = 0.0f;
};

} // namespace Ui
