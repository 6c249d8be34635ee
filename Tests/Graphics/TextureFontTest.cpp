#include "Graphics/TextureFont.h"

#include "Support/Capture.h"
#include "Support/Images.h"
#include "Support/TempDirectory.h"

#include <climits>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace
{

// A character of the definition: its byte, its area and whether it is the
// default.
std::string Character(const std::string& c, int x, int y, int w, int h, bool isDefault = false)
{
    return "<Character char='" + c + "'" + (isDefault ? " default='yes'" : "") + "><Area x='" +
           std::to_string(x) + "' y='" + std::to_string(y) + "' w='" + std::to_string(w) + "' h='" +
           std::to_string(h) + "'/></Character>";
}

std::string Escaped(char c)
{
    switch (c)
    {
    case '<':
        return "&lt;";
    case '&':
        return "&amp;";
    case '\'':
        return "&apos;";
    default:
        return std::string(1, c);
    }
}

class TextureFontTest : public testing::Test
{
protected:
    void SetUp() override { WriteSolidBmp("Fonts/Glyphs.bmp", 64, 32, 0xFFFFFF); }

    static void Define(const std::string& attributes, const std::string& characters)
    {
        WriteTextFile("Fonts/Font.xml",
                      "<Font file='Glyphs.bmp' " + attributes + ">" + characters + "</Font>");
    }

    // The space to the tilde, each as wide as its distance from the space plus
    // one, 10 high, the default on the question mark.
    static std::string PrintableCharacters()
    {
        std::string characters;
        for (char c = ' '; c <= '~'; ++c)
            characters += Character(Escaped(c), 0, 0, c - ' ' + 1, 10, c == '?');
        return characters;
    }

    static int WidthOf(const TextureFont& font, const std::string& text)
    {
        int width = -1;
        int height = -1;
        font.GetTextSize(text, width, height);
        return width;
    }

    TempDirectory directory;
};

const int QuestionMarkWidth = '?' - ' ' + 1;

} // namespace

TEST_F(TextureFontTest, LettersDrawAsCapitalsAndUnknownBytesAsTheDefault)
{
    struct Case
    {
        const char* text;
        int width;
    };
    const Case cases[] = {
        {"A", 'A' - ' ' + 1},        {"a", 'A' - ' ' + 1},
        {"z", 'Z' - ' ' + 1},        {" ", 1},
        {"~", '~' - ' ' + 1},        {"\t", QuestionMarkWidth},
        {"\x7F", QuestionMarkWidth}, {"\xC8", QuestionMarkWidth},
        {"\xFF", QuestionMarkWidth},
    };
    Define("", PrintableCharacters());
    const TextureFont font("Fonts/Font.xml");
    EXPECT_EQ('~' - ' ' + 1, font.GetSlotCount());
    for (const Case& c : cases)
        EXPECT_EQ(c.width, WidthOf(font, c.text)) << static_cast<int>(c.text[0]);
}

TEST_F(TextureFontTest, LowerCaseLettersCanHaveGlyphsOfTheirOwn)
{
    Define("onlyUpperCase='FALSE'", PrintableCharacters());
    const TextureFont font("Fonts/Font.xml");
    EXPECT_EQ('a' - ' ' + 1, WidthOf(font, "a"));
    EXPECT_EQ('A' - ' ' + 1, WidthOf(font, "A"));
}

TEST_F(TextureFontTest, SlotsWithoutAGlyphTakeTheDefault)
{
    // The default is the first character, in slot 0; C has no glyph; the @
    // comes before the first character and wraps to slot 255, past the last.
    Define("firstAsciiChar='AZ'", Character("A", 0, 0, 3, 10, true) + Character("B", 0, 0, 5, 10) +
                                      Character("D", 0, 0, 7, 10));
    const TextureFont font("Fonts/Font.xml");
    EXPECT_EQ(4, font.GetSlotCount());
    struct Case
    {
        const char* text;
        int width;
    };
    const Case cases[] = {{"B", 5}, {"C", 3}, {"D", 7}, {"E", 3}, {"@", 3}, {"ABCD", 18}};
    for (const Case& c : cases)
        EXPECT_EQ(c.width, WidthOf(font, c.text)) << c.text;
}

TEST_F(TextureFontTest, TheLastSlotMakesAFullTable)
{
    // B is the first character, so A is in slot 255.
    Define("firstAsciiChar='B'", Character("B", 0, 0, 3, 10, true) + Character("A", 0, 0, 9, 10));
    const TextureFont font("Fonts/Font.xml");
    EXPECT_EQ(256, font.GetSlotCount());
    EXPECT_EQ(9, WidthOf(font, "A"));
    EXPECT_EQ(3, WidthOf(font, "C"));
}

TEST_F(TextureFontTest, ALaterCharacterReplacesAnEarlierOneAndTheLastDefaultWins)
{
    Define("", Character("A", 0, 0, 3, 10, true) + Character("A", 0, 0, 4, 12) +
                   Character("B", 0, 0, 5, 14, true));
    const TextureFont font("Fonts/Font.xml");
    EXPECT_EQ(4, WidthOf(font, "A"));
    EXPECT_EQ(14, font.GetLineHeight());
}

TEST_F(TextureFontTest, TextSizesAddUpLines)
{
    Define("", Character("A", 0, 0, 3, 10, true) + Character("B", 0, 0, 4, 10) +
                   Character("C", 0, 0, 5, 16));
    const TextureFont font("Fonts/Font.xml");
    struct Case
    {
        const char* text;
        int width, height;
    };
    const Case cases[] = {
        {"", 0, 10},     {"A", 3, 10},  {"A\nBB", 8, 20}, {"A\n", 3, 20},
        {"\n\n", 0, 30}, {"BC", 9, 16}, {"C\nA", 5, 26},  {"AAAA\nC", 12, 26},
    };
    for (const Case& c : cases)
    {
        int width = -1;
        int height = -1;
        font.GetTextSize(c.text, width, height);
        EXPECT_EQ(c.width, width) << c.text;
        EXPECT_EQ(c.height, height) << c.text;
    }
    EXPECT_EQ(10, font.GetLineHeight());
}

TEST_F(TextureFontTest, ADefinitionWithoutDefaultFails)
{
    Define("", Character("A", 0, 0, 3, 10));
    EXPECT_EQ("Can't find 'default' attribute in any of the Character tags in font definition "
              "file: Fonts/Font.xml",
              ErrorOf([] { TextureFont font("Fonts/Font.xml"); }));
}

TEST_F(TextureFontTest, MalformedDefinitionsFailWithTheirPlace)
{
    struct Case
    {
        const char* definition;
        const char* error;
    };
    const Case cases[] = {
        {"<Fnt file='Glyphs.bmp'/>", "Missing 'Font' element! in:\nFonts/Font.xml, line "},
        {"<Font><Character char='A' default='1'><Area x='0' y='0' w='1' h='1'/></Character>"
         "</Font>",
         "Missing attribute 'file' in:\nFonts/Font.xml, line 1"},
        {"<Font file='Glyphs.bmp'>\n<Character char='A' default='1'/></Font>",
         "Missing 'Area' element! in:\nFonts/Font.xml, line 2"},
        {"<Font file='Glyphs.bmp'>\n<Character char='A' default='1'><area x='0' y='0' w='1' "
         "h='1'/></Character></Font>",
         "Missing 'Area' element! in:\nFonts/Font.xml, line 2"},
        {"<Font file='Glyphs.bmp'><character default='1'><Area x='0' y='0' w='1' h='1'/>"
         "</character></Font>",
         "Missing attribute 'char' in:\nFonts/Font.xml, line 1"},
        {"<Font file='Glyphs.bmp'><Character char='A' default='1'><Area x='0' y='0' w='1'/>"
         "</Character></Font>",
         "Missing attribute 'h' in:\nFonts/Font.xml, line 1"},
        {"<Font file='Glyphs.bmp'", "XML parsing error"},
        {"<Font file='../Glyphs.bmp'/>",
         "The path 'Fonts/../Glyphs.bmp' leads out of the data folder in:\nFonts/Font.xml, "
         "line 1"},
    };
    for (const Case& c : cases)
    {
        WriteTextFile("Fonts/Font.xml", c.definition);
        const std::string error = ErrorOf([] { TextureFont font("Fonts/Font.xml"); });
        EXPECT_EQ(0u, error.find(c.error)) << error;
    }
    EXPECT_EQ("Can't open file 'Fonts/None.xml'",
              ErrorOf([] { TextureFont font("Fonts/None.xml"); }));
}

// Glyph areas outside the atlas, negative or far larger than any atlas load
// as they are; texts measured with them saturate rather than overflow.
TEST_F(TextureFontTest, GlyphAreasOfAnySizeAndPlaceLoad)
{
    struct Case
    {
        const char* x;
        const char* y;
        const char* w;
        const char* h;
        int width;  // of a text of 140000 glyphs
        int height; // of one line
    };
    const Case cases[] = {
        {"2147483647", "0", "1", "1", 140000, 1},
        {"0", "0", "2147483647", "1", INT_MAX, 1},
        {"0", "0", "1", "2147483647", 140000, INT_MAX},
        {"0", "-2147483648", "1", "1", 140000, 1},
        {"0", "0", "-2147483648", "-2147483648", 0, INT_MIN},
        {"-0.5", "0", "1", "1", 140000, 1},
        {"60", "30", "16384", "16384", INT_MAX, 16384},
        {"1e30", "0", "1", "1", 140000, 1},
    };
    for (const Case& c : cases)
    {
        const std::string area = std::string(c.x) + " " + c.y + " " + c.w + " " + c.h;
        WriteTextFile("Fonts/Font.xml", std::string("<Font file='Glyphs.bmp'>\n"
                                                    "<Character char='A' default='1'><Area x='") +
                                            c.x + "' y='" + c.y + "' w='" + c.w + "' h='" + c.h +
                                            "'/></Character></Font>");
        std::unique_ptr<TextureFont> font;
        ASSERT_EQ("no error",
                  ErrorOf([&] { font = std::make_unique<TextureFont>("Fonts/Font.xml"); }))
            << area;
        EXPECT_EQ("no error", ErrorOf([&] { font->Load(); })) << area;
        int width = 0;
        int height = 0;
        font->GetTextSize(std::string(140000, 'A'), width, height);
        EXPECT_EQ(c.width, width) << area;
        EXPECT_EQ(c.height, height) << area;
    }
}

TEST_F(TextureFontTest, LoadingTurnsAreasIntoTextureCoordinates)
{
    Define("", Character("A", 16, 8, 8, 4, true) + "<Note/>");
    TextureFont font("Fonts/Font.xml");
    EXPECT_EQ("", OutputOf([&] { font.Load(); }));
    const TextureFont::CharArea& area = font.GetArea('A');
    EXPECT_FLOAT_EQ(0.25f, area.left);
    EXPECT_FLOAT_EQ(0.375f, area.right);
    EXPECT_FLOAT_EQ(0.25f, area.top);
    EXPECT_FLOAT_EQ(0.375f, area.bottom);
    EXPECT_EQ(8, area.width);
    EXPECT_EQ(4, area.height);
}

TEST_F(TextureFontTest, ARescaledAtlasIsReported)
{
    WriteSolidBmp("Fonts/Glyphs.bmp", 48, 32, 0xFFFFFF);
    Define("", Character("A", 16, 8, 8, 4, true));
    TextureFont font("Fonts/Font.xml");
    EXPECT_EQ("Rescaling \"Fonts/Glyphs.bmp\" 48x32 -> 64x32\n"
              "Warning: the characters of \"Fonts/Font.xml\" are measured against its rescaled "
              "atlas 64x32\n",
              OutputOf([&] { font.Load(); }));
    EXPECT_FLOAT_EQ(0.25f, font.GetArea('A').left);
}

TEST_F(TextureFontTest, AFontDrawsNothingUntilReadyOrForeignTexts)
{
    class ForeignText : public Font::PreRender
    {
    };
    Define("", Character("A", 0, 0, 8, 4, true));
    TextureFont font("Fonts/Font.xml");
    Font::PreRender* const empty = font.CreatePreRender("");
    ASSERT_NE(nullptr, dynamic_cast<TextureFont::TexturePreRender*>(empty));
    Font::PreRender* const text = font.CreatePreRender("AA");
    EXPECT_EQ("AA", static_cast<TextureFont::TexturePreRender*>(text)->text);
    const ForeignText foreign;
    // Not ready: none of these reaches OpenGL, of which this test has none.
    EXPECT_EQ(0.0f, font.Draw(0, 0, 0, text));
    EXPECT_EQ(0.0f, font.Draw(0, 0, 0, empty));
    EXPECT_EQ(0.0f, font.Draw(0, 0, 0, &foreign));
    EXPECT_EQ(0.0f, font.Draw(0, 0, 0, nullptr));
    font.DeletePreRender(text);
    font.DeletePreRender(empty);
    font.DeletePreRender(nullptr);
}
