#include "Graphics/SpotLight.h"

#include "Graphics/LightSettings.h"

#include <GL/gl.h>

SpotLight::SpotLight(const LightSettings& settings)
    : PositionalLight(settings), spotDirection(settings.spotDirection),
      spotExponent(settings.spotExponent), spotCutoff(settings.spotCutoff)
{
}

void SpotLight::Setup()
{
    PositionalLight::Setup();
    glLightf(lightId, GL_SPOT_EXPONENT, spotExponent);
    glLightf(lightId, GL_SPOT_CUTOFF, spotCutoff);
    spotDirection.Normalize();
}

void SpotLight::UploadPosition() const
{
    PositionalLight::UploadPosition();
    glLightfv(lightId, GL_SPOT_DIRECTION, spotDirection.Data());
}

void SpotLight::DrawMarker() const
{
    BeginMarker();
    glDisable(GL_LIGHTING);
    DrawCrossedSquares(MarkerSize);
    glPushMatrix();
    position.Translate();
    spotDirection.Draw(1.0f);
    glPopMatrix();
    EndMarker();
}
