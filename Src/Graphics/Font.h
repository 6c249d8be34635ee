#pragma once

#include "Engine/Resource.h"

#include <string>

// The interface of the fonts. A text is prepared once (CreatePreRender),
// drawn every frame and freed when it changes. A font draws only the prepared
// texts it made itself; any other pointer, null included, draws nothing.
class Font : public Resource
{
public:
    // The prepared form of a text; each font kind derives its own.
    class PreRender
    {
    public:
        virtual ~PreRender() = default;
    };

    explicit Font(const std::string& path) : Resource(path) {}

    // Draws with the top-left corner at x, y, z, y growing downward, in the
    // current colour; returns the height drawn.
    virtual float Draw(float x, float y, float z, const PreRender* text) = 0;
    virtual void GetTextSize(const std::string& text, int& width, int& height) const = 0;
    virtual int GetLineHeight() const = 0;
    // Main thread, once the font is ready. May return null.
    virtual PreRender* CreatePreRender(const std::string& text) const = 0;
    virtual void DeletePreRender(PreRender* text) const = 0;
};
