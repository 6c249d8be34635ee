#include "Graphics/DirectionalLight.h"

#include "Graphics/LightSettings.h"

#include <GL/gl.h>

DirectionalLight::DirectionalLight(const LightSettings& settings) : Light(settings)
{
    position[3] = 0;
}

void DirectionalLight::Setup()
{
    Math::RawMemVector<3>(position.Data()).Normalize();
    Light::Setup();
}

// Drawn a little way along the direction from the viewer, under the view's
// rotation alone, and never hidden by the scene.
void DirectionalLight::DrawMarker() const
{
    BeginMarker();
    glDepthMask(GL_FALSE);
    GLfloat rotation[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, rotation);
    rotation[12] = 0;
    rotation[13] = 0;
    rotation[14] = 0;
    glPushMatrix();
    glLoadMatrixf(rotation);
    DrawCrossedSquares(0.01f);
    glPopMatrix();
    EndMarker();
}
