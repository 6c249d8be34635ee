#include "Graphics/TextureFont.h"

#include "Engine/Error.h"
#include "Engine/StringUtil.h"
#include "Engine/Xml.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace
{

// The corners of a glyph's two triangles.
struct Corner
{
    bool right;
    bool bottom;
};

const Corner GlyphCorners[] = {{false, false}, {false, true}, {true, false},
                               {true, false},  {false, true}, {true, true}};

char ToUpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Text sizes saturate rather than overflow on very long texts and on glyphs
// of any size, negative ones included.
int Saturated(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

} // namespace

TextureFont::TextureFont(const std::string& path)
    : Font(path), vertexArray(GL_TRIANGLES, 60, 60, false, true, false, 3)
{
    ReadDefinition(path);
}

void TextureFont::Load()
{
    if (IsReady())
        return;
    atlas->Load();
    if (atlas->rescaled)
        std::printf("Warning: the characters of \"%s\" are measured against its rescaled atlas "
                    "%dx%d\n",
                    path.c_str(), atlas->width, atlas->height);
    const float width = static_cast<float>(atlas->width);
    const float height = static_cast<float>(atlas->height);
    for (const std::unique_ptr<CharArea>& area : areas)
    {
        if (!area)
            continue;
        area->left /= width;
        area->right = area->width / width + area->left;
        area->top /= height;
        area->bottom = area->height / height + area->top;
    }
}

void TextureFont::Finish()
{
    atlas->Finish();
}

float TextureFont::Draw(float x, float y, float z, const PreRender* text)
{
    const TexturePreRender* const prepared = dynamic_cast<const TexturePreRender*>(text);
    if (!prepared || prepared->text.empty() || !IsReady())
        return 0.0f;
    vertexArray.Clear();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, atlas->textureId);
    float penX = x;
    float penY = y;
    int lineHeight = GetLineHeight();
    for (const char c : prepared->text)
    {
        if (c == '\n')
        {
            penX = x;
            penY += lineHeight;
            lineHeight = GetLineHeight();
            continue;
        }
        const CharArea& area = GetArea(c);
        lineHeight = std::max(lineHeight, area.height);
        AddGlyph(area, penX, penY, z);
        penX += area.width;
    }
    vertexArray.Draw();
    return penY + lineHeight - y;
}

// The sums are 64-bit: only a text of 2^32 bytes could overflow them.
void TextureFont::GetTextSize(const std::string& text, int& width, int& height) const
{
    long long widest = 0;
    long long total = 0;
    long long lineWidth = 0;
    int lineHeight = GetLineHeight();
    const auto closeLine = [&]
    {
        widest = std::max(widest, lineWidth);
        total += lineHeight;
        lineWidth = 0;
        lineHeight = GetLineHeight();
    };
    for (const char c : text)
    {
        if (c == '\n')
        {
            closeLine();
            continue;
        }
        const CharArea& area = GetArea(c);
        lineWidth += area.width;
        lineHeight = std::max(lineHeight, area.height);
    }
    closeLine();
    width = Saturated(widest);
    height = Saturated(total);
}

int TextureFont::GetLineHeight() const
{
    return areas[defaultIndex]->height;
}

Font::PreRender* TextureFont::CreatePreRender(const std::string& text) const
{
    return new TexturePreRender(text);
}

void TextureFont::DeletePreRender(PreRender* text) const
{
    delete text;
}

const TextureFont::CharArea& TextureFont::GetArea(char c) const
{
    unsigned slot = SlotOf(onlyUpperCase ? ToUpperAscii(c) : c);
    if (static_cast<int>(slot) >= slotCount)
        slot = defaultIndex;
    const CharArea* const area = areas[slot].get();
    return area ? *area : *areas[defaultIndex];
}

void TextureFont::ReadDefinition(const std::string& definition)
{
    TiXmlDocument document(definition);
    XmlLoadFile(definition, document);
    const TiXmlElement* const root = XmlRequireChild(&document, "Font", true);
    atlas = std::make_unique<Texture>(XmlRequirePath(root, "file", GetDirectory(definition)));
    atlas->SetFormat(GL_INTENSITY);
    const std::string first = XmlGetAttribute(root, "firstAsciiChar", "");
    if (!first.empty())
        firstAsciiChar = first[0];
    onlyUpperCase = XmlGetBool(root, "onlyUpperCase", true);

    bool hasDefault = false;
    for (const TiXmlElement* child = root->FirstChildElement(); child;
         child = child->NextSiblingElement())
    {
        const std::string tag = XmlLowerTag(child);
        if (tag != "character")
            continue;
        const unsigned char slot = SlotOf(XmlRequireAttribute(child, "char")[0]);
        if (child->Attribute("default"))
        {
            defaultIndex = slot;
            hasDefault = true;
        }
        if (areas.size() <= slot)
            areas.resize(slot + 1u);
        areas[slot] = ReadArea(child);
    }
    if (!hasDefault)
        throw Error("Can't find 'default' attribute in any of the Character tags in font "
                    "definition file: ",
                    definition);
    slotCount = static_cast<int>(areas.size());
}

std::unique_ptr<TextureFont::CharArea> TextureFont::ReadArea(const TiXmlElement* character)
{
    const TiXmlElement* const element = XmlRequireChild(character, "Area", true);
    auto area = std::make_unique<CharArea>();
    XmlRequireFloat(element, "x", area->left);
    XmlRequireFloat(element, "y", area->top);
    XmlRequireInt(element, "w", area->width);
    XmlRequireInt(element, "h", area->height);
    return area;
}

// Bytes count as unsigned, so those above 127 have slots too.
unsigned char TextureFont::SlotOf(char c) const
{
    return static_cast<unsigned char>(static_cast<unsigned char>(c) -
                                      static_cast<unsigned char>(firstAsciiChar));
}

void TextureFont::AddGlyph(const CharArea& area, float x, float y, float z)
{
    for (const Corner& corner : GlyphCorners)
    {
        vertexArray.SetTexCoord(corner.right ? area.right : area.left,
                                corner.bottom ? area.bottom : area.top);
        vertexArray.AddVertex(corner.right ? x + area.width : x,
                              corner.bottom ? y + area.height : y, z);
    }
}
