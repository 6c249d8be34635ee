#pragma once

#include "Graphics/Light.h"

// A light at infinity: its position has w = 0 and gives the direction toward
// the light.
class DirectionalLight : public Light
{
public:
    explicit DirectionalLight(const LightSettings& settings);
    explicit DirectionalLight(int lightId) : DirectionalLight(BareSettings(lightId)) {}

    // Normalises the direction first.
    void Setup() override;
    void DrawMarker() const override;
};
