#pragma once

#include "Engine/Color.h"
#include "Graphics/LightSettings.h"
#include "Graphics/Texture.h"

#include <memory>

// A cube-map texture of six square faces of one size, from one strip image
// (the faces side by side) or from one image per face. Its definition names
// the images relative to its own directory and may carry a light.
class CubeMap : public Texture
{
public:
    static constexpr int FaceCount = 6;
    // The definition's names of the faces, in the order of the surfaces, of
    // the strip and of the upload: +X, -X, +Z, -Z, +Y, -Y.
    static const char* const FaceNames[FaceCount];

    explicit CubeMap(const std::string& path);

    // Throws Error naming the face when a face is missing, not square or not
    // the size of the first.
    void Load() override;
    void Finish() override;
    bool ParseElement(const TiXmlElement* element, const std::string& lowerTag) override;

    // Opaque black with the required "r", "g" and "b".
    static Color ReadColor(const TiXmlElement* element);

    // From the definition's "light" element; null without one.
    std::unique_ptr<LightSettings> light;

private:
    void LoadStrip(const std::string& file);
    void ReadAxisImages(const TiXmlElement* element, const std::string& directory);
    void ReadLight(const TiXmlElement* element);
    void CheckFaces() const;
};
