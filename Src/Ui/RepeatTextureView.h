#pragma once

#include "Ui/TextureView.h"

namespace Ui
{

// A texture tiled over the view from its top-left corner, each tile the
// tile size times the scale.
class RepeatTextureView : public TextureView
{
public:
    RepeatTextureView(FrameModel* model, Texture* texture);

    // How often the texture repeats across and down the view as laid out;
    // false for a tile of no size, which draws nothing.
    bool GetRepeats(float& across, float& down) const;

    // Screen pixels at scale 1.
    int tileWidth = 1;
    int tileHeight = 1;

protected:
    void DrawQuad() override;
    void SetTextureParameters() override;
};

} // namespace Ui
