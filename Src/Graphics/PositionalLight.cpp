#include "Graphics/PositionalLight.h"

#include "Graphics/LightSettings.h"

#include <GL/gl.h>
#include <algorithm>

PositionalLight::PositionalLight(const LightSettings& settings) : Light(settings)
{
    std::copy_n(settings.attenuation, 3, attenuation);
    position[3] = 1;
}

void PositionalLight::Setup()
{
    Light::Setup();
    glLightf(lightId, GL_CONSTANT_ATTENUATION, attenuation[0]);
    glLightf(lightId, GL_LINEAR_ATTENUATION, attenuation[1]);
    glLightf(lightId, GL_QUADRATIC_ATTENUATION, attenuation[2]);
}

void PositionalLight::DrawMarker() const
{
    BeginMarker();
    glEnable(GL_LIGHTING);
    DrawCrossedSquares(MarkerSize);
    EndMarker();
}
