#include "Ui/FrameView.h"

#include "Engine/ControllerInterface.h"

#include "Ui/FrameModel.h"

#include <cmath>

namespace Ui
{

namespace
{

// A size without its scale; nothing is left of a size scaled by 0.
float Unscaled(float size, float scale)
{
    return scale != 0.0f ? size / scale : 0.0f;
}

} // namespace

FrameView::FrameView(FrameModel* model) : ViewInterface(model) {}

void FrameView::Draw()
{
    // A frame without a relative frame is anchored to the screen's corner.
    static const FrameView origin(nullptr);
    const ControllerInterface* const relativeTo = GetFrameModel().relativeTo;
    const FrameView* const relative = relativeTo ? relativeTo->GetView<FrameView>() : nullptr;
    LayOut(relative ? *relative : origin);
}

void FrameView::LayOut(const FrameView& relative)
{
    const FrameModel& frame = GetFrameModel();
    scale = frame.scale * relative.scale;
    alpha = frame.alpha * relative.alpha;
    x = relative.x + frame.offsetX * relative.scale;
    y = relative.y + frame.offsetY * relative.scale;
    width = static_cast<float>(frame.width);
    height = static_cast<float>(frame.height);
    if (frame.relativeWidth >= 0.0f)
        width = Unscaled(relative.width, relative.scale) * frame.relativeWidth / 100.0f;
    if (frame.relativeHeight >= 0.0f)
        height = Unscaled(relative.height, relative.scale) * frame.relativeHeight / 100.0f;
    if (frame.ignoreScale)
        scale = 1.0f;
    width *= scale;
    height *= scale;

    float dx = 0.0f;
    float dy = 0.0f;
    relative.GetPointOffset(frame.relativePoint, dx, dy);
    x += dx;
    y += dy;
    GetPointOffset(frame.point, dx, dy);
    x -= dx;
    y -= dy;
    if (frame.integerCoords)
    {
        x = std::trunc(x + 0.5f);
        y = std::trunc(y + 0.5f);
    }
}

void FrameView::GetPointOffset(FramePoint point, float& dx, float& dy) const
{
    const float halfWidth = width / 2.0f;
    const float halfHeight = height / 2.0f;
    switch (point)
    {
    case TOPLEFT:
        dx = 0.0f, dy = 0.0f;
        break;
    case TOPRIGHT:
        dx = width, dy = 0.0f;
        break;
    case BOTTOMLEFT:
        dx = 0.0f, dy = height;
        break;
    case BOTTOMRIGHT:
        dx = width, dy = height;
        break;
    case TOP:
        dx = halfWidth, dy = 0.0f;
        break;
    case LEFT:
        dx = 0.0f, dy = halfHeight;
        break;
    case RIGHT:
        dx = width, dy = halfHeight;
        break;
    case BOTTOM:
        dx = halfWidth, dy = height;
        break;
    case CENTER:
        dx = halfWidth, dy = halfHeight;
        break;
    default:
        dx = 0.0f, dy = 0.0f;
        break;
    }
}

FrameModel& FrameView::GetFrameModel() const
{
    return *static_cast<FrameModel*>(model);
}

} // namespace Ui
