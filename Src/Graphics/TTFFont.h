#pragma once

#include "Graphics/Font.h"

#include <GL/gl.h>
#include <SDL_ttf.h>
#include <memory>

// A TrueType font rendered through SDL_ttf. The loader thread opens it; texts
// are measured, rendered and drawn on the main thread. A prepared text is one
// texture whose brightness is its intensity, so the current colour and
// blending colour it.
class TTFFont : public Font
{
public:
    class TTFPreRender : public PreRender
    {
    public:
        TTFPreRender(int width, int height) : width(width), height(height) {}
        ~TTFPreRender() override;
        TTFPreRender(const TTFPreRender&) = delete;
        TTFPreRender& operator=(const TTFPreRender&) = delete;

        GLuint textureId = 0;
        // The texture's size, powers of two.
        const int width;
        const int height;
    };

    explicit TTFFont(const std::string& path);
    ~TTFFont() override;

    void Load() override;
    bool ParseElement(const TiXmlElement* element, const std::string& lowerTag) override;

    // Draws the whole texture at its pixel size; returns its height.
    float Draw(float x, float y, float z, const PreRender* text) override;
    // Lines are cut at newlines and empty ones are skipped: the widest line
    // and the sum of the line heights, as rendered from UTF-8; -1 by -1
    // without an open font.
    void GetTextSize(const std::string& text, int& width, int& height) const override;
    // The point size.
    int GetLineHeight() const override;
    // Null for an empty text, without an open font, or when no line renders
    // (a line that fails is skipped with a warning).
    PreRender* CreatePreRender(const std::string& text) const override;
    void DeletePreRender(PreRender* text) const override;

private:
    struct StreamCloser
    {
        void operator()(SDL_RWops* stream) const { SDL_RWclose(stream); }
    };

    // SDL_ttf reads the font from the stream for as long as it is open.
    std::unique_ptr<SDL_RWops, StreamCloser> stream;
    TTF_Font* font = nullptr;
    int size = 16;
};
