#pragma once

#include "Graphics/Texture.h"

// A texture that is a sprite sheet of equal frames, left to right and then top
// to bottom. The grid is measured against the uploaded size, after any
// rescale.
class AnimatedTexture : public Texture
{
public:
    explicit AnimatedTexture(const std::string& path);

    // Throws Error when the definition gives no frame width, or one wider
    // than the sheet: a row then holds no frame.
    void Load() override;
    bool ParseElement(const TiXmlElement* element, const std::string& lowerTag) override;

    // The texture coordinates of the frame's top-left corner; the frame is
    // clamped to 0..frameCount - 1. (0, 0) until the sheet is loaded.
    void GetFrameOrigin(int frame, float& u, float& v) const;

    int frameWidth = 0;
    int frameHeight = 0;
    int frameCount = 1;
    // One frame's size in texture coordinates.
    float frameU = 1.0f;
    float frameV = 1.0f;
    // Seconds one frame is shown.
    float frameTime = 0.0f;
    int columns = 0;

private:
    void CheckGrid() const;
};
