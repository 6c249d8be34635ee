#include "Graphics/LightSettings.h"

const Color LightSettings::DefaultAmbient(0, 0, 0, 1);
const Color LightSettings::DefaultDiffuse(0, 0, 0, 0);
const Color LightSettings::DefaultSpecular(0, 0, 0, 0);

LightSettings::LightSettings(int lightId) : lightId(lightId) {}

LightSettings& LightSettings::SetPosition(float x, float y, float z)
{
    position.Set(x, y, z);
    return *this;
}

LightSettings& LightSettings::Enable()
{
    enabled = true;
    return *this;
}

LightSettings& LightSettings::SetAmbient(float r, float g, float b, float a)
{
    return SetAmbient(Color(r, g, b, a));
}

LightSettings& LightSettings::SetAmbient(const Color& color)
{
    ambient = color;
    return *this;
}

LightSettings& LightSettings::SetDiffuse(float r, float g, float b, float a)
{
    return SetDiffuse(Color(r, g, b, a));
}

LightSettings& LightSettings::SetDiffuse(const Color& color)
{
    diffuse = color;
    return *this;
}

LightSettings& LightSettings::SetSpecular(float r, float g, float b, float a)
{
    return SetSpecular(Color(r, g, b, a));
}

LightSettings& LightSettings::SetSpecular(const Color& color)
{
    specular = color;
    return *this;
}
