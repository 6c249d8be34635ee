#pragma once

#include "Engine/Color.h"
#include "Engine/Point.h"
#include "Engine/Vector.h"

// Every OpenGL parameter of one light, as a scene or a cube map's definition
// gives it; the lights of a scene are built from it. The setters chain.
class LightSettings
{
public:
    // lightId is the OpenGL light number (GL_LIGHT0 + i).
    explicit LightSettings(int lightId);

    // w stays as it is.
    LightSettings& SetPosition(float x, float y, float z);
    LightSettings& Enable();
    LightSettings& SetAmbient(float r, float g, float b, float a);
    LightSettings& SetAmbient(const Color& color);
    LightSettings& SetDiffuse(float r, float g, float b, float a);
    LightSettings& SetDiffuse(const Color& color);
    LightSettings& SetSpecular(float r, float g, float b, float a);
    LightSettings& SetSpecular(const Color& color);

    static const Color DefaultAmbient;
    static const Color DefaultDiffuse;
    static const Color DefaultSpecular;

    bool enabled = false;
    int lightId;
    Math::Point position;
    Color ambient = DefaultAmbient;
    Color diffuse = DefaultDiffuse;
    Color specular = DefaultSpecular;
    // Constant, linear and quadratic.
    float attenuation[3] = {1.0f, 0.0f, 0.0f};
    Math::Vector spotDirection = Math::Vector::AxisX;
    float spotExponent = 0.0f;
    float spotCutoff = 180.0f;
};
