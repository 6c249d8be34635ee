#include "Game/Objects/AnimationView.h"

#include "Engine/ObjectFactoryInterface.h"
#include "Engine/Timer.h"
#include "Graphics/AnimatedTexture.h"

#include <GL/gl.h>

namespace
{

constexpr int QuadVertices = 4;

} // namespace

AnimationView::AnimationView(const Timer* timer, PositionModel* model, const AnimatedTexture* strip)
    : PositionView(model, &matrix), timer(timer), strip(strip),
      quad(GL_QUADS, QuadVertices, QuadVertices, false, true, false, 3)
{
}

void AnimationView::Draw()
{
    if (!strip->IsReady())
        return;
    ApplyOffset();
    if (!Advance())
        return;
    glPushAttrib(GL_ENABLE_BIT);
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, strip->textureId);
    glPushMatrix();
    glMultMatrixf(target->Data());
    quad.Draw();
    glPopMatrix();
    glPopAttrib();
}

bool AnimationView::Advance()
{
    if (!started)
    {
        timeLeft = strip->frameTime;
        started = true;
    }
    timeLeft -= timer->frameSeconds;
    if (!(timeLeft < 0))
        return true;
    timeLeft += strip->frameTime;
    if (++frame >= strip->frameCount)
    {
        ObjectFactoryInterface::KillByView(this);
        return false;
    }
    BuildQuad();
    return true;
}

void AnimationView::BuildQuad()
{
    float u = 0.0f;
    float v = 0.0f;
    strip->GetFrameOrigin(frame, u, v);
    const float du = strip->frameU;
    const float dv = strip->frameV;
    quad.Clear();
    quad.SetTexCoord(u, v + dv);
    quad.AddVertex(-1, 1, 0);
    quad.SetTexCoord(u, v);
    quad.AddVertex(-1, -1, 0);
    quad.SetTexCoord(u + du, v);
    quad.AddVertex(1, -1, 0);
    quad.SetTexCoord(u + du, v + dv);
    quad.AddVertex(1, 1, 0);
}
