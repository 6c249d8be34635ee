#pragma once

#include "Graphics/AnimatedTexture.h"
#include "Graphics/Model3D/Model.h"
#include "Graphics/Texture.h"

#include <string>

class DataStore;

// Resources of the image and model kinds that load nothing and need no OpenGL,
// for headless tests of what uses them: a texture, a model without meshes,
// and a sprite strip with a grid of its own.
class IdleTexture : public Texture
{
public:
    using Texture::Texture;
    void Load() override {}
    void Finish() override {}
};

class IdleModel : public Model
{
public:
    IdleModel(DataStore& store, const std::string& name) : Model(&store, name) {}
    void Load() override {}
};

class IdleStrip : public AnimatedTexture
{
public:
    // A strip of that many frames in one row, each shown for frameSeconds.
    IdleStrip(const std::string& name, int frames, float frameSeconds) : AnimatedTexture(name)
    {
        frameCount = frames;
        frameTime = frameSeconds;
        frameWidth = frameHeight = height = 1;
        width = columns = frames;
        frameU = 1.0f / frames;
    }
    void Load() override {}
    void Finish() override {}
};
