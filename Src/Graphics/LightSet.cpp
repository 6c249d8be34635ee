#include "Graphics/LightSet.h"

#include "Graphics/CheckGLError.h"
#include "Graphics/Light.h"

#include <GL/gl.h>
#include <algorithm>

LightSet::LightSet()
{
    glGetIntegerv(GL_MAX_LIGHTS, &maxLights);
    DisableAll();
}

LightSet::~LightSet() = default;

Light* LightSet::Add(std::unique_ptr<Light> light)
{
    if (!light || light->GetId() == 0)
        return nullptr;
    lights.push_back(std::move(light));
    return lights.back().get();
}

bool LightSet::Remove(Light* light)
{
    const auto found =
        std::find_if(lights.begin(), lights.end(),
                     [light](const std::unique_ptr<Light>& held) { return held.get() == light; });
    if (found == lights.end())
        return false;
    found->release();
    lights.erase(found);
    return true;
}

int LightSet::GetFreeLightId() const
{
    for (int i = 0; i < maxLights; ++i)
    {
        const int id = GL_LIGHT0 + i;
        const auto usesId = [id](const std::unique_ptr<Light>& light)
        { return light->GetId() == id; };
        if (std::none_of(lights.begin(), lights.end(), usesId))
            return id;
    }
    return 0;
}

void LightSet::Apply()
{
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient.Data());
    glLightModeliv(GL_LIGHT_MODEL_LOCAL_VIEWER, &localViewer);
    glLightModeliv(GL_LIGHT_MODEL_TWO_SIDE, &twoSide);
    for (const std::unique_ptr<Light>& light : lights)
        light->Setup();
    CheckGLError("when initializing lights");
}

void LightSet::UploadPositions() const
{
    for (const std::unique_ptr<Light>& light : lights)
        light->UploadPosition();
}

void LightSet::DisableAll() const
{
    for (int i = 0; i < maxLights; ++i)
        glDisable(GL_LIGHT0 + i);
}

void LightSet::DrawMarkers() const
{
    for (const std::unique_ptr<Light>& light : lights)
        light->DrawMarker();
}
