#pragma once

#include "Engine/Drawable.h"

#include <string>

class Camera;
class CubeMap;
class DataStore;
class Light;

// A cube textured with a cube map, drawn around the viewer behind everything
// else: the scene draws it first.
class SkyBox : public Drawable
{
public:
    static constexpr int FaceCount = 6;
    static constexpr int CornerCount = 4;

    // The cube map of the name, whose load starts, then the camera published
    // in the store as "Camera"; both must exist. The store keeps both.
    SkyBox(DataStore* store, const std::string& cubeMapName);

    // The cube's half size.
    void SetSize(float size);
    // Draws nothing until the cube map is ready.
    void Draw() override;
    // Copies the light of the cube map's definition, when it has one, into
    // the light; nothing before the cube map is ready.
    void ApplyLight(Light* light) const;

private:
    const Camera* camera;
    const CubeMap* cubeMap;
    float corners[FaceCount][CornerCount][3];
};
