#pragma once

#include <string>

class DataStore;
class Texture;
class obinstream;

namespace Math
{
class Vector;
}

// The surface of a sub-mesh: the colours of OpenGL's fixed-function lighting
// and an optional texture, which belongs to the store.
class Material
{
public:
    // No texture, the default colours, shininess 0 and alpha 1.
    explicit Material(const std::string& name);

    // The colours as red, green, blue, alpha; from a vector with alpha 1.
    Material& SetAmbient(float r, float g, float b, float a);
    Material& SetAmbient(const Math::Vector& color);
    Material& SetDiffuse(float r, float g, float b, float a);
    Material& SetDiffuse(const Math::Vector& color);
    Material& SetSpecular(float r, float g, float b, float a);
    Material& SetSpecular(const Math::Vector& color);
    Material& SetEmission(float r, float g, float b, float a);
    Material& SetEmission(const Math::Vector& color);
    Material& SetDefaultAmbient();
    Material& SetDefaultDiffuse();
    Material& SetDefaultSpecular();
    Material& SetDefaultEmission();
    Material& SetShininess(float value);
    Material& SetAlpha(float value);

    // The texture, written into a model file under the texture's path.
    Material& SetTexture(Texture* newTexture);
    // Registers the texture of the path in the store and requests it; an
    // empty path leaves the texture as it was. Any thread.
    Material& SetTexture(DataStore* store, const std::string& path);

    // Sets the OpenGL state for drawing with the material: the texture once it
    // is ready (texture 0 before and without one), the front face's colours
    // and glColor. Returns whether it pushed the texture's matrix, which the
    // caller pops.
    bool Apply() const;
    // Switches the texture-coordinate array to match the material; arrayOn
    // is the caller's record of its state.
    void SetTexCoordState(bool& arrayOn) const;

    // Throws Error when the name or the texture's path could not be read back
    // from a model file.
    void CheckWritable(const std::string& modelDirectory) const;
    // The texture's path is written relative to the model's directory when it
    // lies inside it.
    void Write(obinstream& out, const std::string& modelDirectory) const;

    static const Material Default;

    std::string name;
    Texture* texture = nullptr;
    // The path the texture was set with; never read from the texture itself,
    // whose load may move its path on another thread.
    std::string texturePath;
    float ambient[4];
    float diffuse[4];
    float specular[4];
    float emission[4];
    float shininess = 0.0f;
    float alpha = 1.0f;
};
