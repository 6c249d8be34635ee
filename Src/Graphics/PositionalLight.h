#pragma once

#include "Graphics/Light.h"

// A point light with attenuation; its position has w = 1.
class PositionalLight : public Light
{
public:
    explicit PositionalLight(const LightSettings& settings);
    explicit PositionalLight(int lightId) : PositionalLight(BareSettings(lightId)) {}

    // Also sends the attenuation.
    void Setup() override;
    void DrawMarker() const override;

    // Constant, linear and quadratic.
    const float* GetAttenuation() const { return attenuation; }

protected:
    static constexpr float MarkerSize = 0.5f;

private:
    float attenuation[3];
};
