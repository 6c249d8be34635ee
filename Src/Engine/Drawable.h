#pragma once

#include "Engine/Object.h"

class Light;

// Anything the scene updates and draws.
class Drawable : public Object
{
public:
    virtual void Update() {}
    virtual void Draw() = 0;

    // Draws the shadow volume the object casts from the light.
    virtual void DrawShadowVolume(Light* /*light*/) {}
};
