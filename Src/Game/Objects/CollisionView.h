#pragma once

#include "Engine/Matrix.h"
#include "Game/Objects/PositionView.h"

class EntityModel;
class Timer;

// Outlines a body's collision circle in green, for looking at contacts.
class CollisionView : public PositionView
{
public:
    CollisionView(EntityModel* model, const Timer* timer);

    // Interpolates itself with the timer's alpha.
    void Draw() override;
    void DrawShadowVolume(Light* /*light*/) override {}

private:
    const EntityModel* const entity;
    const Timer* const timer;
    Math::Matrix matrix = Math::Matrix::Identity;
};
