#pragma once

#include "Engine/Matrix.h"
#include "Game/Objects/PositionView.h"
#include "Graphics/VertexArray.h"

class AnimatedTexture;
class Timer;

// Plays a sprite strip once on frame time, as a 2 by 2 quad in the object's
// x-y plane that adds its light to the scene, then removes its object (an
// explosion). Frame 0 is never shown: the first quad is frame 1's.
class AnimationView : public PositionView
{
public:
    AnimationView(const Timer* timer, PositionModel* model, const AnimatedTexture* strip);

    // Waits for the strip; advances at most one frame a draw.
    void Draw() override;
    void DrawShadowVolume(Light* /*light*/) override {}

    int GetFrame() const { return frame; }
    const VertexArray& GetQuad() const { return quad; }

private:
    // Returns false once the strip has ended and the object is killed.
    bool Advance();
    void BuildQuad();

    const Timer* const timer;
    const AnimatedTexture* const strip;
    int frame = 0;
    // Seconds left on the current frame; the clock starts at the first draw
    // that finds the strip ready.
    float timeLeft = 0.0f;
    bool started = false;
    VertexArray quad;
    Math::Matrix matrix = Math::Matrix::Identity;
};
