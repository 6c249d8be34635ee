#pragma once

#include "Engine/Color.h"

#include <memory>
#include <vector>

class Light;

// A scene's OpenGL lighting: the light-model parameters and the lights it
// owns, each on its own light number. A scene adds its lights, applies the set
// once and uploads the positions every frame after the camera is applied, so
// that the lights stay fixed in the world.
class LightSet
{
public:
    // Reads how many lights OpenGL has and switches all of them off.
    LightSet();
    ~LightSet();
    LightSet(const LightSet&) = delete;
    LightSet& operator=(const LightSet&) = delete;

    // Keeps the light and returns it; a light on number 0 (what GetFreeLightId
    // answers when no number is free) is refused and deleted, and null returned.
    Light* Add(std::unique_ptr<Light> light);
    // Takes the light out of the set without deleting it; false when the set
    // does not hold it.
    bool Remove(Light* light);

    // The lowest light number no light of the set uses, or 0 when all are
    // taken.
    int GetFreeLightId() const;
    int GetMaxLights() const { return maxLights; }

    // Sends the light model and sets up every light, in the order added.
    void Apply();
    void UploadPositions() const;
    void DisableAll() const;
    void DrawMarkers() const;

    Color ambient = Color(0.2f, 0.2f, 0.2f, 1.0f);
    int localViewer = 0;
    int twoSide = 0;

private:
    int maxLights = 0;
    std::vector<std::unique_ptr<Light>> lights;
};
