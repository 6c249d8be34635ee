#include "Graphics/AnimatedTexture.h"

#include "Support/Capture.h"
#include "Support/Images.h"
#include "Support/TempDirectory.h"

#include <climits>
#include <gtest/gtest.h>

namespace
{

class AnimatedTextureTest : public testing::Test
{
protected:
    void SetUp() override { WriteSolidBmp("Sheets/Boom.bmp", 64, 32, 0xFF8000); }

    // A sheet whose definition has the children.
    static void Define(const std::string& children)
    {
        WriteTextFile("Sheets/Boom.xml",
                      "<AnimatedTexture file='Boom.bmp'>" + children + "</AnimatedTexture>");
    }

    TempDirectory directory;
};

} // namespace

TEST_F(AnimatedTextureTest, TheGridIsMeasuredInTheSheet)
{
    Define("<Grid x='16' y='8'/><FrameCount value='6'/><frametime value='0.1'/>"
           "<format value='ALPHA'/>");
    AnimatedTexture sheet("Sheets/Boom.xml");
    EXPECT_EQ("", OutputOf([&] { sheet.Load(); }));
    EXPECT_EQ(16, sheet.frameWidth);
    EXPECT_EQ(8, sheet.frameHeight);
    EXPECT_EQ(6, sheet.frameCount);
    EXPECT_FLOAT_EQ(0.1f, sheet.frameTime);
    EXPECT_EQ(4, sheet.columns);
    EXPECT_FLOAT_EQ(0.25f, sheet.frameU);
    EXPECT_FLOAT_EQ(0.25f, sheet.frameV);
    EXPECT_EQ(GL_ALPHA, sheet.format);

    struct Case
    {
        int frame;
        float u, v;
    };
    const Case cases[] = {{-3, 0, 0},    {0, 0, 0},         {3, 0.75f, 0},
                          {4, 0, 0.25f}, {5, 0.25f, 0.25f}, {99, 0.25f, 0.25f}};
    for (const Case& c : cases)
    {
        float u = -1;
        float v = -1;
        sheet.GetFrameOrigin(c.frame, u, v);
        EXPECT_FLOAT_EQ(c.u, u) << c.frame;
        EXPECT_FLOAT_EQ(c.v, v) << c.frame;
    }
}

// Without a frame in a row there is no column count to number frames by.
TEST_F(AnimatedTextureTest, ASheetWithoutAFrameInARowFails)
{
    struct Case
    {
        const char* children;
        const char* error;
    };
    const Case cases[] = {
        {"", "Animated texture 'Sheets/Boom.bmp' has no frame grid"},
        {"<grid x='0' y='8'/>", "Animated texture 'Sheets/Boom.bmp' has no frame grid"},
        {"<grid x='-16' y='8'/>", "Animated texture 'Sheets/Boom.bmp' has no frame grid"},
        {"<grid x='128' y='8'/>",
         "The frames of animated texture 'Sheets/Boom.bmp' are wider than its image 64x32"},
    };
    for (const Case& c : cases)
    {
        Define(c.children);
        AnimatedTexture sheet("Sheets/Boom.xml");
        EXPECT_EQ(c.error, ErrorOf([&] { sheet.Load(); })) << c.children;
    }
}

// Frames taller than the sheet, or no frames at all, load; any frame's origin
// is then computed without overflow.
TEST_F(AnimatedTextureTest, FramesTallerThanTheSheetOrNoFramesLoad)
{
    struct Case
    {
        const char* children;
        int frame;
        float u, v;
    };
    const Case cases[] = {
        {"<grid x='16' y='64'/><framecount value='8'/>", 5, 0.25f, 2.0f},
        {"<grid x='16' y='8'/><framecount value='0'/>", 3, -0.25f, 0.0f},
        {"<grid x='16' y='8'/><framecount value='-2147483648'/>", 0, -0.25f, -134217728.0f},
        {"<grid x='16' y='8'/><framecount value='2147483647'/>", INT_MAX, 0.5f, 134217728.0f},
        {"<grid x='16' y='-2147483648'/><framecount value='2147483647'/>", INT_MAX, 0.5f,
         -36028797018963968.0f},
    };
    for (const Case& c : cases)
    {
        Define(c.children);
        AnimatedTexture sheet("Sheets/Boom.xml");
        EXPECT_EQ("no error", ErrorOf([&] { sheet.Load(); })) << c.children;
        EXPECT_EQ(4, sheet.columns);
        float u = -1;
        float v = -1;
        sheet.GetFrameOrigin(c.frame, u, v);
        EXPECT_FLOAT_EQ(c.u, u) << c.children;
        EXPECT_FLOAT_EQ(c.v, v) << c.children;
    }
}

TEST_F(AnimatedTextureTest, ARescaledSheetIsReported)
{
    WriteSolidBmp("Sheets/Boom.bmp", 48, 32, 0xFF8000);
    Define("<grid x='16' y='16'/><framecount value='6'/>");
    AnimatedTexture sheet("Sheets/Boom.xml");
    EXPECT_EQ("Rescaling \"Sheets/Boom.bmp\" 48x32 -> 64x32\n"
              "Warning: the frames of \"Sheets/Boom.bmp\" are measured against its rescaled "
              "size 64x32\n",
              OutputOf([&] { sheet.Load(); }));
    EXPECT_EQ(4, sheet.columns);
    EXPECT_FLOAT_EQ(0.25f, sheet.frameU);
}

TEST_F(AnimatedTextureTest, AnUnloadedSheetHasItsOriginAtZero)
{
    const AnimatedTexture sheet("Sheets/Boom.xml");
    float u = -1;
    float v = -1;
    sheet.GetFrameOrigin(2, u, v);
    EXPECT_EQ(0.0f, u);
    EXPECT_EQ(0.0f, v);
}
