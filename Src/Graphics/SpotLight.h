#pragma once

#include "Engine/Vector.h"
#include "Graphics/PositionalLight.h"

// A positional light that shines into a cone.
class SpotLight : public PositionalLight
{
public:
    explicit SpotLight(const LightSettings& settings);
    explicit SpotLight(int lightId) : SpotLight(BareSettings(lightId)) {}

    // Also sends the cone and normalises the direction, which the position
    // uploads then send.
    void Setup() override;
    void UploadPosition() const override;
    // Also draws the direction.
    void DrawMarker() const override;

    const Math::Vector& GetSpotDirection() const { return spotDirection; }
    float GetSpotExponent() const { return spotExponent; }
    float GetSpotCutoff() const { return spotCutoff; }

private:
    Math::Vector spotDirection;
    float spotExponent;
    float spotCutoff;
};
