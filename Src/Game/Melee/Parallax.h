#pragma once

#include "Engine/Drawable.h"
#include "Graphics/VertexArray.h"

class DataStore;
class Texture;

// The flat layer of background stars in the arena plane: 1600 small quads,
// one in each 10 by 10 cell of the arena, the same in every battle, drawn
// four times around the arena's centre so that it covers what the camera
// can see across the edges.
class Parallax : public Drawable
{
public:
    // The texture "BackgroundStars" must exist. Seeds the platform's
    // generator with 1 and draws from it; what draws next goes on with the
    // same sequence.
    explicit Parallax(DataStore& store);

    void Update() override {}
    // Nothing until the texture is ready.
    void Draw() override;

    const VertexArray& GetStars() const { return stars; }

private:
    void AddStar(float x, float y, float u, float v, float halfSize);

    Texture* const texture;
    VertexArray stars;
};
