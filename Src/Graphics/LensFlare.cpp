#include "Graphics/LensFlare.h"

#include "Engine/DataStore.h"
#include "Engine/Point.h"
#include "Engine/Vector.h"
#include "Graphics/Light.h"
#include "Graphics/Texture.h"

#include <GL/gl.h>

namespace
{

constexpr float AlphaThreshold = 0.0625f;
// World units per texel of the streaks.
constexpr float StreakScale = 0.02f;

} // namespace

LensFlare::LensFlare(DataStore* store, const Light* light)
    : light(light), streaks(store->GetTexture("LensFlare_Streaks", true))
{
    // Only the streaks are drawn, but a flare's data must provide all of these.
    for (const char* name : {"LensFlare_Glow", "LensFlare_Halo", "LensFlare_Flare1"})
        store->GetTexture(name, true);
    store->GetPointer("Camera", true);
}

// Drawn under the view's rotation alone, so a directional light's flare sits
// in the light's direction from the viewer.
void LensFlare::Draw() const
{
    if (!light || !streaks->IsReady())
        return;
    GLfloat rotation[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, rotation);
    rotation[12] = 0;
    rotation[13] = 0;
    rotation[14] = 0;
    glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT);
    glPushMatrix();
    glLoadMatrixf(rotation);
    glDisable(GL_LIGHTING);
    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, AlphaThreshold);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    light->GetDiffuse().Apply();
    glBindTexture(GL_TEXTURE_2D, streaks->textureId);

    // The view's right and up axes in world coordinates are the rows of its
    // rotation.
    const Math::Vector across =
        Math::Vector(rotation[0], rotation[4], rotation[8]) * (streaks->height * StreakScale);
    const Math::Vector upward =
        Math::Vector(rotation[1], rotation[5], rotation[9]) * (streaks->width * StreakScale);
    const Math::Point& position = light->GetPosition();
    const Math::Vector centre(position[0], position[1], position[2]);
    const Math::Vector start = centre - (across + upward) * 0.5f;
    const Math::Vector corners[4] = {start, start + across, start + across + upward,
                                     start + upward};
    const float texCoords[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i)
    {
        glTexCoord2fv(texCoords[i]);
        glVertex3fv(corners[i].Data());
    }
    glEnd();

    glPopMatrix();
    glPopAttrib();
}
