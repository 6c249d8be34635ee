#include "Graphics/TTFFont.h"

#include "Engine/DataFile.h"
#include "Engine/DataStore.h"
#include "Engine/ResourceType.h"
#include "Graphics/GraphicsKinds.h"
#include "Support/Capture.h"
#include "Support/FakeResource.h"
#include "Support/TempDirectory.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace
{

const char* const SystemFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class TTFFontTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_EQ(0, TTF_Init()) << TTF_GetError(); }
    static void TearDownTestSuite() { TTF_Quit(); }

    void SetUp() override
    {
        CreateFileMutex();
        std::filesystem::create_directories("Fonts");
        std::filesystem::copy_file(SystemFont, "Fonts/Sans.ttf");
        WriteTextFile("Fonts/Sans.xml", "<TTFFont file='Sans.ttf'><Size value='20'/></TTFFont>");
        reference = TTF_OpenFont(SystemFont, 20);
        ASSERT_NE(nullptr, reference);
    }
    void TearDown() override
    {
        TTF_CloseFont(reference);
        DestroyFileMutex();
    }

    static std::unique_ptr<TTFFont> Load(const std::string& path)
    {
        auto font = std::make_unique<TTFFont>(path);
        font->Load();
        return font;
    }

    int WidthOf(const std::string& line) const
    {
        int width = 0;
        int height = 0;
        TTF_SizeUTF8(reference, line.c_str(), &width, &height);
        return width;
    }

    TempDirectory directory;
    // The same font, opened by hand at the size of the definition.
    TTF_Font* reference = nullptr;
};

} // namespace

TEST_F(TTFFontTest, TheDefinitionGivesTheSize)
{
    EXPECT_EQ(20, Load("Fonts/Sans.xml")->GetLineHeight());
    EXPECT_EQ(16, Load("Fonts/Sans.ttf")->GetLineHeight());
}

TEST_F(TTFFontTest, TextIsCutIntoLinesAtNewlinesWithoutEmptyOnes)
{
    const std::unique_ptr<TTFFont> font = Load("Fonts/Sans.xml");
    const int lineHeight = TTF_FontHeight(reference);
    struct Case
    {
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"\n", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\n\nb", {"a", "b"}},
        {"\nWide line\nx\n", {"Wide line", "x"}},
    };
    for (const Case& c : cases)
    {
        int expectedWidth = 0;
        for (const std::string& line : c.lines)
            expectedWidth = std::max(expectedWidth, WidthOf(line));
        int width = -1;
        int height = -1;
        font->GetTextSize(c.text, width, height);
        EXPECT_EQ(expectedWidth, width) << c.text;
        EXPECT_EQ(lineHeight * static_cast<int>(c.lines.size()), height) << c.text;
    }
}

TEST_F(TTFFontTest, TextIsMeasuredAsItIsRendered)
{
    const std::unique_ptr<TTFFont> font = Load("Fonts/Sans.xml");
    const char* const text = "Gr\xC3\xBC\xC3\x9F"
                             "e";
    const SDL_Color white = {255, 255, 255, 0};
    const SDL_Color black = {0, 0, 0, 0};
    SDL_Surface* rendered = TTF_RenderUTF8_Shaded(reference, text, white, black);
    ASSERT_NE(nullptr, rendered);
    int width = 0;
    int height = 0;
    font->GetTextSize(text, width, height);
    EXPECT_EQ(rendered->w, width);
    EXPECT_EQ(rendered->h, height);
    SDL_FreeSurface(rendered);
}

TEST_F(TTFFontTest, WithoutAnOpenFontNothingIsMeasuredOrMade)
{
    const TTFFont font("Fonts/Sans.xml");
    int width = 0;
    int height = 0;
    font.GetTextSize("text", width, height);
    EXPECT_EQ(-1, width);
    EXPECT_EQ(-1, height);
    EXPECT_EQ(nullptr, font.CreatePreRender("text"));
}

TEST_F(TTFFontTest, FilesThatAreNoFontsFail)
{
    WriteTextFile("Fonts/Bad.ttf", "not a font");
    WriteTextFile("Fonts/Size.xml", "<TTFFont file='Sans.ttf'><size/></TTFFont>");
    EXPECT_EQ("Can't load true type font: Fonts/Bad.ttf", ErrorOf([] { Load("Fonts/Bad.ttf"); }));
    EXPECT_EQ("Can't open file 'Fonts/None.ttf'", ErrorOf([] { Load("Fonts/None.ttf"); }));
    const std::string error = ErrorOf([] { Load("Fonts/Size.xml"); });
    EXPECT_NE(std::string::npos, error.find("Missing attribute 'value'")) << error;
}

TEST_F(TTFFontTest, LoaderThreadsOfSeveralStoresOpenFontsSideBySide)
{
    RegisterGraphicsKinds();
    const int storeCount = 4;
    std::vector<std::unique_ptr<DataStore>> stores;
    std::vector<std::vector<Resource*>> fonts(storeCount);
    const auto nameOf = [](int size) { return "Fonts/Sans" + std::to_string(size) + ".xml"; };
    for (int size = 10; size < 16; ++size)
        WriteTextFile(nameOf(size), "<TTFFont file='Sans.ttf'><size value='" +
                                        std::to_string(size) + "'/></TTFFont>");
    for (int i = 0; i < storeCount; ++i)
    {
        stores.push_back(std::make_unique<DataStore>(nullptr));
        for (int size = 10; size < 16; ++size)
        {
            const std::string name = nameOf(size);
            stores[i]->AddResource(name, nullptr, ResourceType::TTFFont);
            fonts[i].push_back(stores[i]->GetResource(name, true));
        }
    }
    for (int i = 0; i < storeCount; ++i)
    {
        const std::vector<Resource*>& own = fonts[i];
        EXPECT_TRUE(ProcessUntil(*stores[i],
                                 [&own]
                                 {
                                     return std::all_of(own.begin(), own.end(),
                                                        [](const Resource* font)
                                                        { return font->IsReady(); });
                                 }));
    }
    int width = 0;
    int height = 0;
    stores[3]->GetFont("Fonts/Sans15.xml", true)->GetTextSize("a", width, height);
    EXPECT_LT(0, width);
}
