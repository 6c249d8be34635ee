#include "Graphics/Light.h"

#include "Engine/Settings.h"
#include "Graphics/LightSettings.h"

#include <GL/gl.h>

Light::Light(const LightSettings& settings)
    : lightId(settings.lightId), enabled(settings.enabled), position(settings.position),
      ambient(settings.ambient), diffuse(settings.diffuse), specular(settings.specular)
{
}

void Light::Setup()
{
    if (enabled)
        glEnable(lightId);
    else
        glDisable(lightId);
    const float gamma = Settings::gammaCorrection;
    glLightfv(lightId, GL_AMBIENT, (ambient * gamma).Data());
    glLightfv(lightId, GL_DIFFUSE, (diffuse * gamma).Data());
    glLightfv(lightId, GL_SPECULAR, (specular * gamma).Data());
    glLightf(lightId, GL_SPOT_EXPONENT, 0.0f);
    glLightf(lightId, GL_SPOT_CUTOFF, 180.0f);
}

void Light::UploadPosition() const
{
    glLightfv(lightId, GL_POSITION, position.Data());
}

// A directional light made from a cube map's light must stay directional.
void Light::CopyFrom(const LightSettings& settings)
{
    position.Set(settings.position[0], settings.position[1], settings.position[2]);
    ambient = settings.ambient;
    diffuse = settings.diffuse;
    specular = settings.specular;
}

void Light::SetEnabled(bool on)
{
    if (on == enabled)
        return;
    if (on)
        glEnable(lightId);
    else
        glDisable(lightId);
    enabled = on;
}

LightSettings Light::BareSettings(int lightId)
{
    return LightSettings(lightId).SetPosition(1, 0, 0);
}

void Light::BeginMarker() const
{
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    diffuse.Apply();
    const GLfloat emission[] = {diffuse[0] * 0.5f, diffuse[1] * 0.5f, diffuse[2] * 0.5f, 0.3f};
    glMaterialfv(GL_FRONT, GL_EMISSION, emission);
}

void Light::EndMarker()
{
    glPopAttrib();
}

// One square of half-diagonal size in each axis plane through the position,
// each drawn once facing either way.
void Light::DrawCrossedSquares(float size) const
{
    const float corners[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    glBegin(GL_QUADS);
    for (int axis = 0; axis < 3; ++axis)
    {
        const int u = (axis + 1) % 3;
        const int v = (axis + 2) % 3;
        for (const float side : {1.0f, -1.0f})
        {
            GLfloat normal[3] = {0, 0, 0};
            normal[axis] = side;
            glNormal3fv(normal);
            for (int i = 0; i < 4; ++i)
            {
                const float* corner = corners[side > 0 ? i : 3 - i];
                GLfloat vertex[3] = {position[0], position[1], position[2]};
                vertex[u] += corner[0] * size;
                vertex[v] += corner[1] * size;
                glVertex3fv(vertex);
            }
        }
    }
    glEnd();
}
