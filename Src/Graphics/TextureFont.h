#pragma once

#include "Graphics/Font.h"
#include "Graphics/Texture.h"
#include "Graphics/VertexArray.h"

#include <memory>
#include <vector>

class TiXmlElement;

// A bitmap font: glyphs are rectangles of one atlas image, described by a
// definition file that the constructor reads. A byte's slot is its distance
// from the first character, modulo 256; bytes without a glyph draw as the
// default character.
class TextureFont : public Font
{
public:
    // One glyph: its corners in texture coordinates once loaded (left and top
    // in atlas pixels before), its size in pixels.
    struct CharArea
    {
        float left = 0.0f;
        float top = 0.0f;
        int width = 0;
        int height = 0;
        float right = 0.0f;
        float bottom = 0.0f;
    };

    class TexturePreRender : public PreRender
    {
    public:
        explicit TexturePreRender(const std::string& text) : text(text) {}

        const std::string text;
    };

    // Reads the definition; throws its errors.
    explicit TextureFont(const std::string& path);

    // Decodes the atlas and turns the areas into texture coordinates. A glyph
    // outside the atlas samples beyond its edge, as OpenGL wraps.
    void Load() override;
    // Uploads the atlas.
    void Finish() override;

    float Draw(float x, float y, float z, const PreRender* text) override;
    // The widest line and the sum of the line heights; a line is at least as
    // high as the default character.
    void GetTextSize(const std::string& text, int& width, int& height) const override;
    // The default character's height.
    int GetLineHeight() const override;
    PreRender* CreatePreRender(const std::string& text) const override;
    void DeletePreRender(PreRender* text) const override;

    // The glyph a byte other than the newline draws with.
    const CharArea& GetArea(char c) const;
    int GetSlotCount() const { return slotCount; }

private:
    void ReadDefinition(const std::string& definition);
    static std::unique_ptr<CharArea> ReadArea(const TiXmlElement* character);
    unsigned char SlotOf(char c) const;
    void AddGlyph(const CharArea& area, float x, float y, float z);

    char firstAsciiChar = ' ';
    unsigned char defaultIndex = 0;
    int slotCount = 0;
    bool onlyUpperCase = true;
    std::vector<std::unique_ptr<CharArea>> areas;
    VertexArray vertexArray;
    std::unique_ptr<Texture> atlas;
};
