#include "Engine/ResourceType.h"
#include "GlResourceTest.h"
#include "Graphics/AnimatedTexture.h"
#include "Graphics/CubeMap.h"
#include "Graphics/TTFFont.h"
#include "Graphics/TextureFont.h"
#include "Support/Archive.h"
#include "Support/Capture.h"
#include "Support/Images.h"
#include "Support/TempDirectory.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

class GraphicsKindsGlTest : public GlResourceTest
{
protected:
    // One resource of each kind, with every file it reads.
    static std::vector<std::string> WriteEveryKind()
    {
        WriteSolidBmp("Data/Plain.bmp", 8, 4, 0x204060);
        WriteSolidBmp("Data/Sheet.bmp", 32, 16, 0x406080);
        WriteTextFile("Data/Sheet.xml", "<AnimatedTexture file='Sheet.bmp'><grid x='8' y='8'/>"
                                        "<framecount value='8'/></AnimatedTexture>");
        WriteBmp("Data/Strip.bmp", 12, 2, [](int x, int) { return 0x111111u * (x / 2); });
        WriteTextFile("Data/Sky.xml", "<CubeMap><image file='Strip.bmp'/></CubeMap>");
        WriteSolidBmp("Data/Fonts/Glyphs.bmp", 16, 8, 0xFFFFFF);
        WriteTextFile("Data/Fonts/Bitmap.xml",
                      "<Font file='Glyphs.bmp'><character char='A' default='1'>"
                      "<Area x='0' y='0' w='8' h='8'/></character></Font>");
        std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                   "Data/Fonts/Sans.ttf");
        WriteTextFile("Data/Fonts/Sans.xml",
                      "<TTFFont file='Sans.ttf'><size value='12'/></TTFFont>");
        return {"Data/Plain.bmp",        "Data/Sheet.bmp",      "Data/Sheet.xml",
                "Data/Strip.bmp",        "Data/Sky.xml",        "Data/Fonts/Glyphs.bmp",
                "Data/Fonts/Bitmap.xml", "Data/Fonts/Sans.ttf", "Data/Fonts/Sans.xml"};
    }
};

} // namespace

TEST_F(GraphicsKindsGlTest, EveryKindLoadsFromTheDiskAndFromTheArchive)
{
    struct Kind
    {
        const char* path;
        int type;
    };
    const Kind kinds[] = {{"Data/Plain.bmp", ResourceType::Texture},
                          {"Data/Sheet.xml", ResourceType::AnimatedTexture},
                          {"Data/Sky.xml", ResourceType::CubeMap},
                          {"Data/Fonts/Bitmap.xml", ResourceType::Font},
                          {"Data/Fonts/Sans.xml", ResourceType::TTFFont}};
    for (const bool archived : {false, true})
    {
        const TempDirectory directory;
        const std::vector<std::string> files = WriteEveryKind();
        if (archived)
            MoveIntoArchive(files);
        DataStore fresh(nullptr); // a store for each directory
        for (const Kind& kind : kinds)
        {
            fresh.AddResource(kind.path, nullptr, kind.type);
            Resource* resource = fresh.GetResource(kind.path, true);
            EXPECT_TRUE(ProcessUntil(fresh, [resource] { return resource->IsReady(); }))
                << kind.path << (archived ? " from the archive" : "");
        }

        const Texture* plain = fresh.GetTexture("Data/Plain.bmp", true);
        EXPECT_TRUE(glIsTexture(plain->textureId));
        EXPECT_EQ(8, plain->width);
        const AnimatedTexture* sheet = fresh.GetAnimatedTexture("Data/Sheet.xml", true);
        EXPECT_TRUE(glIsTexture(sheet->textureId));
        EXPECT_EQ(4, sheet->columns);
        EXPECT_EQ(sheet, fresh.GetTexture("Data/Sheet.xml", true));
        const CubeMap* sky = fresh.GetCubeMap("Data/Sky.xml", true);
        EXPECT_TRUE(glIsTexture(sky->textureId));
        EXPECT_EQ(2, sky->width);
        EXPECT_EQ(nullptr, fresh.GetCubeMap("Data/Plain.bmp", false));

        Font* bitmap = fresh.GetFont("Data/Fonts/Bitmap.xml", true);
        EXPECT_NE(nullptr, dynamic_cast<TextureFont*>(bitmap));
        EXPECT_EQ(8, bitmap->GetLineHeight());
        Font* sans = fresh.GetFont("Data/Fonts/Sans.xml", true);
        EXPECT_NE(nullptr, dynamic_cast<TTFFont*>(sans));
        int width = 0;
        int height = 0;
        sans->GetTextSize("Sans", width, height);
        EXPECT_LT(0, width);
        Font::PreRender* text = sans->CreatePreRender("Sans");
        EXPECT_NE(nullptr, text);
        sans->DeletePreRender(text);
    }
}

TEST_F(GraphicsKindsGlTest, AddTextureRegistersAndRequestsATexture)
{
    WriteSolidBmp("Skin.bmp", 4, 4, 0x808080);
    Texture* skin = store.AddTexture("Skin.bmp", "Skin");
    ASSERT_NE(nullptr, skin);
    EXPECT_TRUE(ProcessUntil(store, [skin] { return skin->IsReady(); }));
    EXPECT_EQ(skin, store.GetTexture("Skin", true));
    EXPECT_EQ(skin, store.AddTexture("Skin.bmp", nullptr));
}

TEST_F(GraphicsKindsGlTest, ABitmapFontReadsItsDefinitionWhenRegistered)
{
    WriteTextFile("Bitmap.xml", "<Font file='Glyphs.bmp'/>");
    EXPECT_EQ("Can't find 'default' attribute in any of the Character tags in font definition "
              "file: Bitmap.xml",
              ErrorOf([this] { store.AddResource("Bitmap.xml", nullptr, ResourceType::Font); }));
    EXPECT_EQ(nullptr, store.Find("Bitmap.xml", true));
}
