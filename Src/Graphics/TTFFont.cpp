#include "Graphics/TTFFont.h"

#include "Engine/DataFile.h"
#include "Engine/Error.h"
#include "Engine/MathUtil.h"
#include "Engine/ScopedLock.h"
#include "Engine/Xml.h"
#include "Graphics/Surface.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

// Every font shares SDL_ttf's one FreeType library, which must not open or
// close faces on several threads at once; the loader threads of several
// stores open fonts side by side.
SDL_mutex* FaceMutex()
{
    static SDL_mutex* const mutex = SDL_CreateMutex();
    return mutex;
}

// The pieces between newlines, without the empty ones.
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (start <= text.size())
    {
        std::string::size_type end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

const SDL_Color White = {255, 255, 255, 0};
const SDL_Color Black = {0, 0, 0, 0};

} // namespace

TTFFont::TTFPreRender::~TTFPreRender()
{
    if (textureId != 0)
        glDeleteTextures(1, &textureId);
}

TTFFont::TTFFont(const std::string& path) : Font(path) {}

// After TTF_Quit the faces are gone with the library.
TTFFont::~TTFFont()
{
    if (font && TTF_WasInit())
    {
        const ScopedLock lock(FaceMutex());
        TTF_CloseFont(font);
    }
}

void TTFFont::Load()
{
    if (IsReady())
        return;
    ReadDefinition("TTFFont", true);
    stream.reset(OpenRW(path));
    const ScopedLock lock(FaceMutex());
    font = TTF_OpenFontRW(stream.get(), 0, size);
    if (!font)
    {
        stream.reset();
        throw Error("Can't load true type font: ", path);
    }
}

bool TTFFont::ParseElement(const TiXmlElement* element, const std::string& lowerTag)
{
    if (lowerTag != "size")
        return Resource::ParseElement(element, lowerTag);
    XmlRequireInt(element, "value", size);
    return true;
}

float TTFFont::Draw(float x, float y, float z, const PreRender* text)
{
    const TTFPreRender* const prepared = dynamic_cast<const TTFPreRender*>(text);
    if (!prepared || prepared->textureId == 0)
        return 0.0f;
    const float width = static_cast<float>(prepared->width);
    const float height = static_cast<float>(prepared->height);
    glBindTexture(GL_TEXTURE_2D, prepared->textureId);
    glPushMatrix();
    glTranslatef(x, y, z);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(0, 0, 0);
    glTexCoord2f(0, 1);
    glVertex3f(0, height, 0);
    glTexCoord2f(1, 1);
    glVertex3f(width, height, 0);
    glTexCoord2f(1, 0);
    glVertex3f(width, 0, 0);
    glEnd();
    glPopMatrix();
    return height;
}

void TTFFont::GetTextSize(const std::string& text, int& width, int& height) const
{
    if (!font)
    {
        width = -1;
        height = -1;
        return;
    }
    width = 0;
    height = 0;
    for (const std::string& line : SplitLines(text))
    {
        int lineWidth = 0;
        int lineHeight = 0;
        if (TTF_SizeUTF8(font, line.c_str(), &lineWidth, &lineHeight) != 0)
            continue;
        width = std::max(width, lineWidth);
        height += lineHeight;
    }
}

int TTFFont::GetLineHeight() const
{
    return size;
}

Font::PreRender* TTFFont::CreatePreRender(const std::string& text) const
{
    if (text.empty() || !font)
        return nullptr;
    std::vector<SurfacePtr> lines;
    int width = 0;
    int height = 0;
    for (const std::string& line : SplitLines(text))
    {
        SurfacePtr rendered(TTF_RenderUTF8_Shaded(font, line.c_str(), White, Black));
        if (!rendered)
        {
            std::printf("Warning: can't render \"%s\" with font \"%s\": %s\n", line.c_str(),
                        path.c_str(), TTF_GetError());
            continue;
        }
        width = std::max(width, rendered->w);
        height += rendered->h;
        lines.push_back(std::move(rendered));
    }
    if (lines.empty())
        return nullptr;

    auto prepared = std::make_unique<TTFPreRender>(static_cast<int>(NextPowerOfTwo(width)),
                                                   static_cast<int>(NextPowerOfTwo(height)));
    const SurfacePtr page(SDL_CreateRGBSurface(SDL_SWSURFACE, prepared->width, prepared->height, 32,
                                               0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000));
    if (!page)
    {
        std::printf("Warning: no memory for the text \"%s\" of font \"%s\"\n", text.c_str(),
                    path.c_str());
        return nullptr;
    }
    int top = 0;
    for (const SurfacePtr& line : lines)
    {
        SDL_Rect at = {0, static_cast<Sint16>(top), 0, 0};
        SDL_BlitSurface(line.get(), nullptr, page.get(), &at);
        top += line->h;
    }
    glGenTextures(1, &prepared->textureId);
    glBindTexture(GL_TEXTURE_2D, prepared->textureId);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_INTENSITY, prepared->width, prepared->height, 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, page->pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return prepared.release();
}

void TTFFont::DeletePreRender(PreRender* text) const
{
    if (dynamic_cast<TTFPreRender*>(text))
        delete text;
}
