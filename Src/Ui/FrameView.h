#pragma once

#include "Engine/ViewInterface.h"
#include "Ui/FramePoint.h"

namespace Ui
{

class FrameModel;

// A frame's rectangle on the screen, laid out anew each time the frame is
// drawn from its model's anchor and the rectangle of its relative frame. The
// plain view draws nothing else; the widget views draw into the rectangle.
class FrameView : public ViewInterface
{
public:
    explicit FrameView(FrameModel* model);

    // The layout.
    void Draw() override;
    void DrawShadowVolume(Light* /*light*/) override {}

    // The offset of the point inside the view's rectangle.
    void GetPointOffset(FramePoint point, float& dx, float& dy) const;

    FrameModel& GetFrameModel() const;

    // Outputs of the layout, as of the last frame in which the view was
    // drawn: the top-left corner in screen pixels (y grows downward), the
    // size with the scale applied, the combined scale and alpha.
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float scale = 1.0f;
    float alpha = 1.0f;

private:
    void LayOut(const FrameView& relative);
};

} // namespace Ui
