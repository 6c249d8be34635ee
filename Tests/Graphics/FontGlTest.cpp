#include "Engine/MathUtil.h"
#include "Engine/ResourceType.h"
#include "GlResourceTest.h"
#include "Graphics/TTFFont.h"
#include "Graphics/TextureFont.h"
#include "Support/Images.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace
{

struct Rectangle
{
    int x, y, width, height;

    bool Contains(int px, int py) const
    {
        return px >= x && px < x + width && py >= y && py < y + height;
    }
};

class FontGlTest : public GlResourceTest
{
protected:
    void SetUp() override
    {
        GlResourceTest::SetUp();
        PrepareForText();
        std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "Sans.ttf");
        WriteTextFile("Sans.xml", "<TTFFont file='Sans.ttf'><size value='14'/></TTFFont>");
        // A is white, B grey, in an atlas twice as high as the glyphs.
        WriteBmp("Glyphs.bmp", 16, 16,
                 [](int x, int y) { return y >= 8  ? 0u
                                           : x < 8 ? 0xFFFFFFu
                                                   : 0x808080u; });
        WriteTextFile("Bitmap.xml",
                      "<Font file='Glyphs.bmp'>"
                      "<character char='A' default='1'><Area x='0' y='0' w='8' h='8'/>"
                      "</character><character char='B'><Area x='8' y='0' w='8' h='8'/>"
                      "</character></Font>");
    }
    // A cleared buffer, texturing on and white text.
    static void PrepareForText()
    {
        SetPixelProjection();
        glEnable(GL_TEXTURE_2D);
        glColor3f(1, 1, 1);
    }

    // Draws the text at the rectangle's corner; it lights pixels inside the
    // rectangle and none outside.
    static void ExpectDrawnInside(Font& font, const std::string& text, const Rectangle& area)
    {
        Font::PreRender* prepared = font.CreatePreRender(text);
        ASSERT_NE(nullptr, prepared);
        EXPECT_LT(0.0f,
                  font.Draw(static_cast<float>(area.x), static_cast<float>(area.y), 0, prepared));
        font.DeletePreRender(prepared);
        int inside = 0;
        for (int y = 0; y < GlWindowHeight; ++y)
        {
            for (int x = 0; x < GlWindowWidth; ++x)
            {
                if (ReadBackPixel(x, y) == 0)
                    continue;
                EXPECT_TRUE(area.Contains(x, y)) << x << "," << y;
                inside += area.Contains(x, y);
            }
        }
        EXPECT_LT(area.width * area.height / 20, inside);
    }
};

} // namespace

TEST_F(FontGlTest, EachFontKindDrawsInsideItsTextSize)
{
    const char* const paths[] = {"Bitmap.xml", "Sans.xml"};
    const int types[] = {ResourceType::Font, ResourceType::TTFFont};
    for (int i = 0; i < 2; ++i)
    {
        PrepareForText();
        Font* font = Load<Font>(paths[i], types[i]);
        // An empty line counts for the bitmap font and is skipped by the
        // TrueType one, in the measure and the drawing alike.
        const std::string text = "AB\n\nBAAB";
        int width = 0;
        int height = 0;
        font->GetTextSize(text, width, height);
        ExpectDrawnInside(*font, text, {21, 33, width, height});
    }
}

TEST_F(FontGlTest, ABitmapFontPlacesEachGlyphFromItsArea)
{
    Font* font = Load<Font>("Bitmap.xml", ResourceType::Font);
    Font::PreRender* text = font->CreatePreRender("AB\nb");
    EXPECT_EQ(16.0f, font->Draw(20, 30, 0, text));
    font->DeletePreRender(text);
    struct Case
    {
        int x, y;
        Uint32 color;
    };
    const Case cases[] = {{20, 30, 0xFFFFFF}, {27, 37, 0xFFFFFF}, {28, 30, 0x808080},
                          {35, 37, 0x808080}, {20, 38, 0x808080}, {27, 45, 0x808080},
                          {28, 38, 0},        {36, 30, 0},        {20, 46, 0},
                          {19, 30, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(c.color, ReadBackPixel(c.x, c.y)) << c.x << "," << c.y;
    GLint binding = 0;
    glGetIntegerv(GL_VERTEX_ARRAY, &binding);
    EXPECT_EQ(GL_FALSE, binding);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(FontGlTest, ATrueTypeTextIsOneTextureOfPowerOfTwoSides)
{
    Font* font = Load<Font>("Sans.xml", ResourceType::TTFFont);
    const std::string text = "a\n\nWide";
    int width = 0;
    int height = 0;
    font->GetTextSize(text, width, height);
    Font::PreRender* prepared = font->CreatePreRender(text);
    const auto* texture = dynamic_cast<const TTFFont::TTFPreRender*>(prepared);
    ASSERT_NE(nullptr, texture);
    EXPECT_EQ(static_cast<int>(NextPowerOfTwo(width)), texture->width);
    EXPECT_EQ(static_cast<int>(NextPowerOfTwo(height)), texture->height);

    glBindTexture(GL_TEXTURE_2D, texture->textureId);
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
    EXPECT_EQ(GL_INTENSITY, value);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(GL_CLAMP_TO_EDGE, value);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(GL_LINEAR, value);
    EXPECT_EQ(static_cast<float>(texture->height), font->Draw(0, 0, 0, prepared));

    const GLuint name = texture->textureId;
    font->DeletePreRender(prepared);
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(FontGlTest, EmptyAndForeignTextsDrawNothing)
{
    Font* sans = Load<Font>("Sans.xml", ResourceType::TTFFont);
    Font* bitmap = Load<Font>("Bitmap.xml", ResourceType::Font);
    EXPECT_EQ(nullptr, sans->CreatePreRender(""));
    EXPECT_EQ(nullptr, sans->CreatePreRender("\n\n"));
    Font::PreRender* bitmapText = bitmap->CreatePreRender("A");
    Font::PreRender* sansText = sans->CreatePreRender("A");
    EXPECT_EQ(0.0f, sans->Draw(0, 0, 0, nullptr));
    EXPECT_EQ(0.0f, sans->Draw(0, 0, 0, bitmapText));
    EXPECT_EQ(0.0f, bitmap->Draw(0, 0, 0, sansText));
    sans->DeletePreRender(bitmapText); // not its own: left alone
    bitmap->DeletePreRender(bitmapText);
    sans->DeletePreRender(sansText);
    for (int y = 0; y < GlWindowHeight; y += 7)
    {
        for (int x = 0; x < GlWindowWidth; x += 7)
            EXPECT_EQ(0u, ReadBackPixel(x, y));
    }
}
