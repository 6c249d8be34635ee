#pragma once

#include <string>

class DataStore;
class Light;
class Texture;

// The flare of a bright light: a streak quad in the light's colour that faces
// the viewer where the light is seen.
class LensFlare
{
public:
    // The textures "LensFlare_Streaks", "LensFlare_Glow", "LensFlare_Halo" and
    // "LensFlare_Flare1" and the published "Camera" must be in the store; their
    // loads start. The light may be null: then nothing is drawn.
    LensFlare(DataStore* store, const Light* light);
    LensFlare(const LensFlare&) = delete;
    LensFlare& operator=(const LensFlare&) = delete;

    // Draws nothing until the streaks texture is ready.
    void Draw() const;

private:
    const Light* const light;
    const Texture* const streaks;
};
