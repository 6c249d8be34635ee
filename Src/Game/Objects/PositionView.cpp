#include "Game/Objects/PositionView.h"

#include "Game/Objects/PositionModel.h"

PositionView::PositionView(PositionModel* model, Math::Matrix* target)
    : ViewInterface(model), target(target)
{
}

void PositionView::Interpolate(float alpha)
{
    const PositionModel* const position = GetPositionModel();
    interpolated.Lerp(position->GetPreviousTransform(), position->GetTransform(), alpha);
    *target = interpolated;
}

void PositionView::ApplyOffset()
{
    *target = interpolated;
    for (int i = 0; i < 3; ++i)
        (*target)[12 + i] += offset[i];
}

const PositionModel* PositionView::GetPositionModel() const
{
    return static_cast<const PositionModel*>(model);
}
