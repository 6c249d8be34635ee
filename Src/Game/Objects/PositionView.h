#pragma once

#include "Engine/Matrix.h"
#include "Engine/Vector.h"
#include "Engine/ViewInterface.h"

class PositionModel;

// A view that draws a positioned model at a transform blended between the
// model's last two steps. Each frame the game state interpolates the first
// such view of every object before drawing it.
class PositionView : public ViewInterface
{
public:
    // The target is the matrix the view draws with, supplied by the derived
    // view.
    PositionView(PositionModel* model, Math::Matrix* target);

    // The interpolated transform, and the target, become previous x
    // (1 - alpha) + current x alpha.
    void Interpolate(float alpha);
    // The target becomes the interpolated transform moved by the offset; the
    // views call it when they draw. Drawing twice from one interpolation
    // moves it once.
    void ApplyOffset();

    // The drawn transform.
    const Math::Matrix* GetTransform() const { return target; }
    const Math::Matrix& GetInterpolated() const { return interpolated; }
    const PositionModel* GetPositionModel() const;

    // A shift of the drawn place: the battle draws every object at its image
    // nearest the camera's centre.
    Math::Vector offset;

protected:
    Math::Matrix* target;

private:
    Math::Matrix interpolated = Math::Matrix::Identity;
};
