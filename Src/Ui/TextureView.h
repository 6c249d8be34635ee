#pragma once

#include "Ui/FrameView.h"
#include "Ui/Paint.h"

#include <string>

class Texture;

namespace Ui
{

// A textured rectangle over the frame. The texture belongs to the store and
// may still be loading: nothing is drawn until it is ready.
class TextureView : public FrameView
{
public:
    struct TexCoord
    {
        float u;
        float v;
    };

    // The texture may be null: the view then draws nothing.
    TextureView(FrameModel* model, Texture* texture);

    void Draw() override;

    // The empty word keeps the mode; "ADD" selects additive blending, any
    // other word normal blending.
    void SetAlphaMode(const std::string& mode);

    // The texture coordinate of a corner (TOPLEFT to BOTTOMRIGHT).
    TexCoord& Corner(FramePoint corner) { return corners[corner]; }
    const TexCoord& Corner(FramePoint corner) const { return corners[corner]; }

    Paint paint;

protected:
    // Draws over the view with the bound texture.
    virtual void DrawQuad();
    // Sets the wrap mode of the bound texture, once per view.
    virtual void SetTextureParameters();

    Texture* const texture;

private:
    // Indexed by TOPLEFT, TOPRIGHT, BOTTOMLEFT, BOTTOMRIGHT.
    TexCoord corners[4] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}};
    bool wrapModeSet = false;
};

} // namespace Ui
