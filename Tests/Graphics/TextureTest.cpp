#include "Graphics/Texture.h"

#include "Graphics/JpegHeader.h"
#include "Support/Capture.h"
#include "Support/Images.h"
#include "Support/TempDirectory.h"

#include <SDL_image.h>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace
{

class TextureTest : public testing::Test
{
protected:
    TempDirectory directory;
};

// A surface of one row or one column whose pixel i has the byte values[i] + k
// in its byte k.
SurfacePtr MakeLine(const std::vector<int>& values, bool vertical)
{
    const int length = static_cast<int>(values.size());
    SurfacePtr line(SDL_CreateRGBSurface(SDL_SWSURFACE, vertical ? 1 : length,
                                         vertical ? length : 1, 32, 0xFF, 0xFF00, 0xFF0000,
                                         0xFF000000));
    for (int i = 0; i < length; ++i)
    {
        Uint8* pixel = static_cast<Uint8*>(line->pixels) + (vertical ? i * line->pitch : i * 4);
        for (int k = 0; k < 4; ++k)
            pixel[k] = static_cast<Uint8>(values[i] + k);
    }
    return line;
}

std::vector<int> ReadLine(const SDL_Surface* line, int byte)
{
    std::vector<int> values;
    const bool vertical = line->w == 1;
    for (int i = 0; i < (vertical ? line->h : line->w); ++i)
    {
        const Uint8* pixel =
            static_cast<const Uint8*>(line->pixels) + (vertical ? i * line->pitch : i * 4);
        values.push_back(pixel[byte]);
    }
    return values;
}

bool ColorsClose(Uint32 a, Uint32 b, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        const int difference = static_cast<int>((a >> shift) & 0xFF) - ((b >> shift) & 0xFF);
        if (std::abs(difference) > tolerance)
            return false;
    }
    return true;
}

// A picture of two 8x8 blocks, so that each fills JPEG blocks of its own:
// teal on the left and red on the right.
constexpr int BlocksWidth = 16;
constexpr int BlocksHeight = 8;
constexpr Uint32 Teal = 0xFF008080;
constexpr Uint32 Red = 0xFFFF0000;

Uint32 BlockLight(int x, int /*y*/)
{
    return x < 8 ? Teal : Red;
}

// The same as ink, 0xCCMMYYKK: teal is full cyan at half black.
Uint32 BlockInk(int x, int /*y*/)
{
    return x < 8 ? 0xFF00007F : 0x00FFFF00;
}

// The bytes of ImageMagick's Adobe segment of a CMYK JPEG up to its
// transform, YCCK.
const std::string AdobeYcck("Adobe\x00\x64\x00\x00\x00\x00\x02", 12);

SDL_RWops* OpenFile(const std::string& name)
{
    return SDL_RWFromFile(name.c_str(), "rb");
}

} // namespace

TEST_F(TextureTest, JpegsOfInkAreShownInTheColoursOfLight)
{
    struct Case
    {
        const char* file;
        std::function<void(const char* file)> make;
        int components;
        bool adobe;
        int transform;
    };
    const Case cases[] = {
        {"rgb.jpg", [](const char* file) { Convert(std::string("blocks.bmp ") + file); }, 3, false,
         0},
        // ImageMagick stores inverted ink as YCCK.
        {"ycck.jpg",
         [](const char* file) { Convert(std::string("blocks.bmp -colorspace CMYK ") + file); }, 4,
         true, JpegHeader::YcckTransform},
        {"cmyk.jpg",
         [](const char* file) { WriteCmykJpeg(file, BlocksWidth, BlocksHeight, false, BlockInk); },
         4, false, 0},
        {"adobe.jpg",
         [](const char* file) { WriteCmykJpeg(file, BlocksWidth, BlocksHeight, true, BlockInk); },
         4, true, JpegHeader::InkTransform},
    };
    WriteBmp("blocks.bmp", BlocksWidth, BlocksHeight, BlockLight);
    for (const Case& c : cases)
    {
        c.make(c.file);
        SDL_RWops* const stream = OpenFile(c.file);
        ASSERT_NE(nullptr, stream) << c.file;
        const JpegHeader header = JpegHeader::Read(stream);
        EXPECT_EQ(0, SDL_RWtell(stream)) << c.file;
        SDL_RWclose(stream);
        EXPECT_EQ(c.components, header.components) << c.file;
        EXPECT_EQ(c.adobe, header.adobe) << c.file;
        EXPECT_EQ(c.transform, header.adobeTransform) << c.file;

        const SurfacePtr surface = Texture::LoadSurface(c.file, true);
        EXPECT_EQ(GLenum(GL_RGB), Texture::GetPixelFormat(surface.get())) << c.file;
        for (int x = 0; x < BlocksWidth; ++x)
        {
            const Uint32 pixel = ReadPixel(surface.get(), x, BlocksHeight / 2);
            EXPECT_TRUE(ColorsClose(BlockLight(x, 0), pixel, 3))
                << c.file << " " << x << ": " << std::hex << pixel;
        }
    }
}

TEST_F(TextureTest, CmykJpegsThatCannotBeReadFailNamingTheFile)
{
    WriteSolidBmp("teal.bmp", 8, 8, Teal);
    Convert("teal.bmp -colorspace CMYK ycck.jpg");
    const std::string ycck = ReadTextFile("ycck.jpg");
    const std::size_t firstScan = ycck.find("\xFF\xDA");
    ASSERT_NE(std::string::npos, firstScan);

    // A transform that means no ink could be decoded into any colours.
    ReplaceInFile("ycck.jpg", AdobeYcck,
                  AdobeYcck.substr(0, AdobeYcck.size() - 1) + std::string(1, '\x01'));
    EXPECT_EQ("Can't convert CMYK image 'ycck.jpg': unknown Adobe colour transform 1",
              ErrorOf([] { Texture::LoadSurface("ycck.jpg", true); }));

    // Every cut of the header before the scan: the reader stops at its end.
    for (std::size_t size = 0; size < firstScan + 2; ++size)
    {
        WriteTextFile("cut.jpg", ycck.substr(0, size));
        SDL_RWops* const stream = OpenFile("cut.jpg");
        ASSERT_NE(nullptr, stream);
        JpegHeader::Read(stream);
        EXPECT_EQ(0, SDL_RWtell(stream)) << size;
        SDL_RWclose(stream);
        EXPECT_EQ("Unknown texture format: cut.jpg",
                  ErrorOf([] { Texture::LoadSurface("cut.jpg", true); }))
            << size;
    }
}

TEST_F(TextureTest, SidesAreRescaledToPowersOfTwo)
{
    struct Case
    {
        int width, height;
        int expectedWidth, expectedHeight;
        const char* line;
    };
    const Case cases[] = {{256, 256, 256, 256, ""},
                          {100, 256, 128, 256, "Rescaling \"a.bmp\" 100x256 -> 128x256\n"},
                          {1, 1, 1, 1, ""},
                          {3, 5, 4, 8, "Rescaling \"a.bmp\" 3x5 -> 4x8\n"}};
    for (const Case& c : cases)
    {
        WriteSolidBmp("a.bmp", c.width, c.height, 0x336699);
        Texture texture("a.bmp");
        EXPECT_EQ(c.line, OutputOf([&] { texture.Load(); })) << c.width << "x" << c.height;
        EXPECT_EQ(c.expectedWidth, texture.width);
        EXPECT_EQ(c.expectedHeight, texture.height);
        EXPECT_EQ(*c.line != '\0', texture.rescaled);
    }
}

TEST_F(TextureTest, TheResamplerMixesTheStartsOfTwoFootprints)
{
    struct Case
    {
        std::vector<int> source;
        std::vector<int> expected;
    };
    const Case cases[] = {
        // 3 to 4: column 1 takes 0.25 of column 0 and 0.75 of column 1, column 2
        // halves of 1 and 2, column 3 column 2 alone.
        {{0, 100, 200}, {0, 75, 150, 200}}, {{0, 1, 2}, {0, 0, 1, 2}}, // the sum is truncated
        {{10, 20, 30, 40}, {10, 30}},       {{50}, {50, 50}},          {{7, 9}, {7, 9}},
    };
    for (const bool vertical : {false, true})
    {
        for (const Case& c : cases)
        {
            const SurfacePtr source = MakeLine(c.source, vertical);
            const int size = static_cast<int>(c.expected.size());
            const SurfacePtr destination(SDL_CreateRGBSurface(SDL_SWSURFACE, vertical ? 1 : size,
                                                              vertical ? size : 1, 32, 0xFF, 0xFF00,
                                                              0xFF0000, 0xFF000000));
            Texture::ScaleSurface(source.get(), destination.get());
            for (int k = 0; k < 4; ++k)
            {
                std::vector<int> expected = c.expected;
                for (int& value : expected)
                    value += k;
                EXPECT_EQ(expected, ReadLine(destination.get(), k))
                    << "byte " << k << (vertical ? " vertical" : "");
            }
        }
    }
}

TEST_F(TextureTest, ThePixelFormatNamesTheBytesInMemory)
{
    struct Case
    {
        const char* name;
        int bits;
        Uint32 red, green, blue, alpha;
        bool surfaceAlpha;
        GLenum expected;
    };
    const Case cases[] = {
        {"RGB", 24, 0xFF, 0xFF00, 0xFF0000, 0, false, GL_RGB},
        {"BGR", 24, 0xFF0000, 0xFF00, 0xFF, 0, false, GL_BGR},
        {"RGBA", 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000, false, GL_RGBA},
        {"BGRA", 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, false, GL_BGRA},
        {"BGRX", 32, 0xFF0000, 0xFF00, 0xFF, 0, false, 0},
        {"ABGR", 32, 0xFF000000, 0xFF0000, 0xFF00, 0xFF, false, 0},
        {"RGB565", 16, 0xF800, 0x07E0, 0x001F, 0, false, 0},
        {"palette", 8, 0, 0, 0, 0, false, 0},
        {"RGB with surface alpha", 24, 0xFF, 0xFF00, 0xFF0000, 0, true, 0},
    };
    for (const Case& c : cases)
    {
        const SurfacePtr surface(
            SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 2, c.bits, c.red, c.green, c.blue, c.alpha));
        ASSERT_NE(nullptr, surface) << c.name;
        if (c.surfaceAlpha)
            SDL_SetAlpha(surface.get(), SDL_SRCALPHA, 128);
        EXPECT_EQ(c.expected, Texture::GetPixelFormat(surface.get())) << c.name;
    }
}

TEST_F(TextureTest, ImagesWithoutAPixelFormatAreConvertedToRgba)
{
    struct Case
    {
        const char* file;
        const char* convert;
        int tolerance; // SDL's blitter widens channels of fewer bits slightly differently
    };
    const Case cases[] = {
        {"palette.png", "-size 1x1 xc:red xc:blue +append PNG8:palette.png", 0},
        {"gray.png", "-size 2x1 xc:gray50 -colorspace Gray gray.png", 0},
        {"palette.bmp", "-size 2x1 xc:red -type Palette BMP3:palette.bmp", 0},
        {"rgb565.bmp",
         "-size 1x1 xc:white xc:black +append -define bmp:subtype=RGB565 BMP:rgb565.bmp", 4},
    };
    for (const Case& c : cases)
    {
        Convert(c.convert);
        const SurfacePtr decoded(IMG_Load(c.file));
        ASSERT_NE(nullptr, decoded) << c.file;
        EXPECT_EQ(0u, Texture::GetPixelFormat(decoded.get())) << c.file;
        const SurfacePtr surface = Texture::LoadSurface(c.file, true);
        EXPECT_EQ(4, surface->format->BytesPerPixel) << c.file;
        EXPECT_EQ(GLenum(GL_RGBA), Texture::GetPixelFormat(surface.get())) << c.file;
        // 2x1 has power-of-two sides, so these are the image's own pixels.
        for (int x = 0; x < 2; ++x)
            EXPECT_TRUE(ColorsClose(ReadPixel(decoded.get(), x, 0), ReadPixel(surface.get(), x, 0),
                                    c.tolerance))
                << c.file << " " << x;
    }
}

TEST_F(TextureTest, AColourKeyBecomesTransparency)
{
    Convert("-size 1x1 xc:lime xc:none +append PNG8:key.png");
    const SurfacePtr surface = Texture::LoadSurface("key.png", true);
    EXPECT_EQ(0xFF00FF00, ReadPixel(surface.get(), 0, 0));
    EXPECT_EQ(0u, ReadPixel(surface.get(), 1, 0) >> 24);
}

TEST_F(TextureTest, RgbAndRgbaImagesKeepTheirBytes)
{
    Convert("-size 2x1 'xc:rgba(255,0,0,0.5)' rgba.png");
    WriteSolidBmp("rgb.bmp", 2, 1, 0x102030);
    const SurfacePtr rgba = Texture::LoadSurface("rgba.png", true);
    EXPECT_EQ(GLenum(GL_RGBA), Texture::GetPixelFormat(rgba.get()));
    EXPECT_EQ(0x80FF0000, ReadPixel(rgba.get(), 1, 0));
    const SurfacePtr rgb = Texture::LoadSurface("rgb.bmp", true);
    EXPECT_EQ(3, rgb->format->BytesPerPixel);
    EXPECT_EQ(0xFF102030, ReadPixel(rgb.get(), 1, 0));
}

TEST_F(TextureTest, ImagesThatCannotBeDecodedFail)
{
    WriteTextFile("text.png", "no image");
    EXPECT_EQ("Texture filename was not specified!",
              ErrorOf([] { Texture::LoadSurface("", true); }));
    EXPECT_EQ("Can't open file 'missing.png'",
              ErrorOf([] { Texture::LoadSurface("missing.png", true); }));
    EXPECT_EQ("Unknown texture format: text.png",
              ErrorOf([] { Texture::LoadSurface("text.png", true); }));
}

TEST_F(TextureTest, BmpFilesAreFlippedVertically)
{
    WriteSolidBmp("UPPER.BMP", 2, 2, 0);
    Convert("-size 2x2 xc:red flat.png");
    Texture bmp("UPPER.BMP");
    Texture png("flat.png");
    bmp.Load();
    png.Load();
    EXPECT_EQ(-1.0f, bmp.scaleV);
    EXPECT_EQ(1.0f, png.scaleV);
    EXPECT_EQ(1.0f, bmp.scaleU);
    EXPECT_FALSE(png.PushTextureMatrix()); // the identity needs no OpenGL call
}

TEST_F(TextureTest, TheDefinitionChoosesTheInternalFormat)
{
    struct Case
    {
        const char* element;
        int expected;
        const char* output;
    };
    const Case cases[] = {
        {"<Format value='INTENSITY'/>", GL_INTENSITY, ""},
        {"<format value='ALPHA'/>", GL_ALPHA, ""},
        {"<FORMAT value='LUMINANCE'/>", GL_LUMINANCE, ""},
        {"<format value='intensity'/>", 0,
         "Unknown attribute value 'intensity' in '<format ... value='intensity' ...>'\n"},
    };
    WriteSolidBmp("Images/a.bmp", 4, 4, 0xFFFFFF);
    for (const Case& c : cases)
    {
        WriteTextFile("Images/a.xml",
                      std::string("<Texture file='a.bmp'>") + c.element + "</Texture>");
        Texture texture("Images/a.xml");
        EXPECT_EQ(c.output, OutputOf([&] { texture.Load(); })) << c.element;
        EXPECT_EQ(c.expected, texture.format) << c.element;
        EXPECT_EQ("Images/a.bmp", texture.GetPath());
        EXPECT_EQ(4, texture.width);
    }
}

TEST_F(TextureTest, AFormatWithoutValueFails)
{
    WriteSolidBmp("a.bmp", 4, 4, 0);
    WriteTextFile("a.xml", "<Texture file='a.bmp'><format/></Texture>");
    Texture texture("a.xml");
    const std::string error = ErrorOf([&] { texture.Load(); });
    EXPECT_NE(std::string::npos, error.find("Missing attribute 'value' in:\na.xml, line 1"))
        << error;
}
