#include "Game/Melee/Parallax.h"

#include "Engine/DataStore.h"
#include "Graphics/Texture.h"
#include "Platform/Random.h"

namespace
{

const int Cell = 10;
const int FieldHalf = 200;
const int StarCount = (2 * FieldHalf / Cell) * (2 * FieldHalf / Cell);
const int GrowStep = 40;
const int StarSeed = 1;

// The field's copies, each step from the previous one.
const float CopySteps[][2] = {{200, 200}, {-400, 0}, {0, -400}, {400, 0}};

} // namespace

Parallax::Parallax(DataStore& store)
    : texture(store.GetTexture("BackgroundStars", true)),
      stars(GL_QUADS, StarCount, GrowStep, false, true, false, 3)
{
    Platform::SeedRandom(StarSeed);
    for (int x0 = -FieldHalf; x0 < FieldHalf; x0 += Cell)
    {
        for (int y0 = -FieldHalf; y0 < FieldHalf; y0 += Cell)
        {
            // The draws in this order: place, texture quarter, size.
            const int r1 = Platform::Random();
            const int r2 = Platform::Random();
            const int r3 = Platform::Random();
            const int r4 = Platform::Random();
            const int r5 = Platform::Random();
            AddStar(static_cast<float>(x0 + r1 % Cell), static_cast<float>(y0 + r2 % Cell),
                    (r3 % 2) / 2.0f, (r4 % 2) / 2.0f, (r5 % 5) / 10.0f + 0.3f);
        }
    }
}

void Parallax::AddStar(float x, float y, float u, float v, float halfSize)
{
    stars.SetTexCoord(u, v + 0.5f);
    stars.AddVertex(x - halfSize, y + halfSize, 0);
    stars.SetTexCoord(u, v);
    stars.AddVertex(x - halfSize, y - halfSize, 0);
    stars.SetTexCoord(u + 0.5f, v);
    stars.AddVertex(x + halfSize, y - halfSize, 0);
    stars.SetTexCoord(u + 0.5f, v + 0.5f);
    stars.AddVertex(x + halfSize, y + halfSize, 0);
}

void Parallax::Draw()
{
    if (!texture->IsReady())
        return;
    glPushAttrib(GL_ENABLE_BIT);
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glDepthMask(GL_FALSE);
    glAlphaFunc(GL_GREATER, 0.1625f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, texture->textureId);
    // The shadows leave the current colour black.
    glColor4f(1, 1, 1, 1);
    glPushMatrix();
    for (const auto& step : CopySteps)
    {
        glTranslatef(step[0], step[1], 0);
        stars.Draw();
    }
    glDepthMask(GL_TRUE);
    glPopMatrix();
    glPopAttrib();
}
