#pragma once

#include "Ui/FrameView.h"

#include <GL/gl.h>

namespace Ui
{

class RootModel;

// The screen rectangle of the interface root; it is never laid out. It opens
// and closes the orthographic pass in which the whole interface is drawn.
class RootView : public FrameView
{
public:
    explicit RootView(RootModel* model);

    // Takes the root model's scale and alpha; draws nothing.
    void Draw() override;

    // Saves the enable bits and both matrices, then sets a projection in
    // screen pixels from the top-left corner, blending, the alpha test and 2D
    // texturing without depth, fog or lighting.
    void Begin2D();
    // Restores the matrices, also a model-view matrix that a failing widget
    // left pushed, and the enable bits.
    void End2D();

private:
    // The depth of the model-view stack before Begin2D.
    GLint modelViewDepth = 0;
};

} // namespace Ui
