#include "Graphics/CubeMap.h"

#include "Support/Capture.h"
#include "Support/Images.h"
#include "Support/TempDirectory.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

namespace
{

// One colour per face, in the order of the faces.
const Uint32 FaceColors[CubeMap::FaceCount] = {0xFF0000, 0x00FF00, 0x0000FF,
                                               0xFFFF00, 0x00FFFF, 0xFF00FF};

// Shows the decoded faces.
class InspectedCubeMap : public CubeMap
{
public:
    using CubeMap::CubeMap;

    const SDL_Surface* Face(int i) const { return surfaces.at(i).get(); }
};

class CubeMapTest : public testing::Test
{
protected:
    static void Define(const std::string& children)
    {
        WriteTextFile("Sky/Sky.xml", "<CubeMap>" + children + "</CubeMap>");
    }

    // The faces as files Sky/<face>.bmp, each side long, and the definition
    // naming them under the tags.
    static std::string AxisImages(int side, const char* const (&tags)[CubeMap::FaceCount])
    {
        std::string children = "<axisimages>";
        for (int i = 0; i < CubeMap::FaceCount; ++i)
        {
            const std::string file = std::string(CubeMap::FaceNames[i]) + ".bmp";
            WriteSolidBmp("Sky/" + file, side, side, FaceColors[i]);
            children += "<" + std::string(tags[i]) + " file='" + file + "'/>";
        }
        return children + "</axisimages>";
    }

    static void ExpectFaceColors(const InspectedCubeMap& sky, int side)
    {
        for (int i = 0; i < CubeMap::FaceCount; ++i)
        {
            const SDL_Surface* const face = sky.Face(i);
            ASSERT_NE(nullptr, face) << i;
            EXPECT_EQ(side, face->w) << i;
            EXPECT_EQ(side, face->h) << i;
            EXPECT_EQ(0xFF000000 | FaceColors[i], ReadPixel(face, 0, 0)) << i;
            EXPECT_EQ(0xFF000000 | FaceColors[i], ReadPixel(face, side - 1, side - 1)) << i;
        }
    }

    TempDirectory directory;
};

} // namespace

TEST_F(CubeMapTest, AStripIsCutIntoSixFacesLeftToRight)
{
    // Faces of 3 pixels: a strip is not rescaled.
    WriteBmp("Sky/Strip.bmp", 18, 3, [](int x, int) { return FaceColors[x / 3]; });
    Define("<Image file='Strip.bmp'/>");
    InspectedCubeMap sky("Sky/Sky.xml");
    EXPECT_EQ("", OutputOf([&] { sky.Load(); }));
    ExpectFaceColors(sky, 3);
    EXPECT_EQ(3, sky.width);
    EXPECT_EQ(nullptr, sky.light);
}

TEST_F(CubeMapTest, StripFacesKeepTheirAlpha)
{
    Define("<image file='Strip.png'/>");
    Convert("-size 2x2 'xc:rgba(255,0,0,0.5)' 'xc:rgba(0,255,0,0.25)' xc:blue xc:blue xc:blue "
            "xc:blue +append Sky/Strip.png");
    InspectedCubeMap sky("Sky/Sky.xml");
    sky.Load();
    EXPECT_EQ(0x80FF0000, ReadPixel(sky.Face(0), 1, 1));
    EXPECT_EQ(0x4000FF00, ReadPixel(sky.Face(1), 0, 0));
    EXPECT_EQ(0xFF0000FF, ReadPixel(sky.Face(5), 1, 0));
    EXPECT_EQ(GLenum(GL_RGBA), Texture::GetPixelFormat(sky.Face(0)));
}

TEST_F(CubeMapTest, AStripNarrowerThanSixFacesFails)
{
    WriteSolidBmp("Sky/Strip.bmp", 17, 3, 0);
    Define("<image file='Strip.bmp'/>");
    InspectedCubeMap sky("Sky/Sky.xml");
    const std::string error = ErrorOf([&] { sky.Load(); });
    EXPECT_NE(std::string::npos,
              error.find("Cube map strip 'Sky/Strip.bmp' is narrower than six times its height"))
        << error;
}

TEST_F(CubeMapTest, AxisImagesAreTakenByTheirTagInAnyCase)
{
    const char* const tags[] = {"PosX", "NEGX", "posz", "negZ", "posY", "negy"};
    // 3 pixels become 4: axis images are rescaled.
    Define(AxisImages(3, tags));
    InspectedCubeMap sky("Sky/Sky.xml");
    sky.Load();
    ExpectFaceColors(sky, 4);
}

TEST_F(CubeMapTest, AFaceNamedTwiceTakesTheLaterImageAndOtherChildrenAreSkipped)
{
    const char* const tags[] = {"posx", "negx", "posz", "negz", "posy", "negy"};
    WriteSolidBmp("Sky/Other.bmp", 4, 4, 0x123456);
    const std::string faces = AxisImages(4, tags);
    Define(faces.substr(0, faces.size() - 13) +
           "<posx file='Other.bmp'/><stars file='Other.bmp'/></axisimages>");
    InspectedCubeMap sky("Sky/Sky.xml");
    EXPECT_EQ("", OutputOf([&] { sky.Load(); }));
    EXPECT_EQ(0xFF123456, ReadPixel(sky.Face(0), 0, 0));
    EXPECT_EQ(0xFF000000 | FaceColors[1], ReadPixel(sky.Face(1), 0, 0));
}

TEST_F(CubeMapTest, FacesThatDoNotMakeACubeFail)
{
    const char* const tags[] = {"posx", "negx", "posz", "negz", "posy", "negy"};
    struct Case
    {
        const char* replaced; // the face's image is replaced
        int width, height;    // by one of this size
        const char* error;
    };
    const Case cases[] = {
        {"negy", 0, 0, "Cube map 'Sky/Sky.xml' has no face 'negy'"},
        {"posz", 4, 8, "Face 'posz' of cube map 'Sky/Sky.xml' is not square"},
        {"negx", 8, 8, "Face 'negx' of cube map 'Sky/Sky.xml' is not the size of face 'posx'"},
    };
    for (const Case& c : cases)
    {
        std::string children = AxisImages(4, tags);
        const std::string face = std::string("<") + c.replaced + " file='" + c.replaced + ".bmp'/>";
        children.erase(children.find(face), face.size());
        if (c.width)
        {
            WriteSolidBmp("Sky/Odd.bmp", c.width, c.height, 0);
            children.insert(children.size() - 13,
                            std::string("<") + c.replaced + " file='Odd.bmp'/>");
        }
        Define(children);
        InspectedCubeMap sky("Sky/Sky.xml");
        EXPECT_EQ(c.error, ErrorOf([&] { sky.Load(); })) << c.replaced;
    }
}

TEST_F(CubeMapTest, AnAxisImageWithoutFileFails)
{
    Define("<axisimages><posx/></axisimages>");
    InspectedCubeMap sky("Sky/Sky.xml");
    const std::string error = ErrorOf([&] { sky.Load(); });
    EXPECT_NE(std::string::npos, error.find("Missing attribute 'file'")) << error;
}

// The faces lie in the data folder: one above it is not read.
TEST_F(CubeMapTest, AFaceOutsideTheDataFolderFailsWithItsDefinition)
{
    WriteBmp("Strip.bmp", 18, 3, [](int x, int) { return FaceColors[x / 3]; });
    for (const char* children :
         {"<image file='../Strip.bmp'/>", "<axisimages><posx file='../Strip.bmp'/></axisimages>"})
    {
        Define(children);
        InspectedCubeMap sky("Sky/Sky.xml");
        EXPECT_EQ("Error while reading file: 'Sky/Sky.xml'\nThe path 'Sky/../Strip.bmp' leads out "
                  "of the data folder in:\nSky/Sky.xml, line 1",
                  ErrorOf([&] { sky.Load(); }))
            << children;
    }
}

TEST_F(CubeMapTest, TheLightBlockFillsLightSettings)
{
    WriteBmp("Sky/Strip.bmp", 6, 1, [](int x, int) { return FaceColors[x]; });
    Define("<image file='Strip.bmp'/>"
           "<Light><Direction x='1' y='2' z='3'/><ambient r='0.1' g='0.2' b='0.3'/>"
           "<DIFFUSE r='0.4' g='0.5' b='0.6'/><specular r='0.7' g='0.8' b='0.9'/>"
           "<glow r='1' g='1' b='1'/></Light>");
    InspectedCubeMap sky("Sky/Sky.xml");
    EXPECT_EQ("", OutputOf([&] { sky.Load(); }));
    ASSERT_NE(nullptr, sky.light);
    const LightSettings& light = *sky.light;
    EXPECT_EQ(0, light.lightId);
    EXPECT_FALSE(light.enabled);
    EXPECT_FLOAT_EQ(1, light.position[0]);
    EXPECT_FLOAT_EQ(2, light.position[1]);
    EXPECT_FLOAT_EQ(3, light.position[2]);
    EXPECT_FLOAT_EQ(1, light.position[3]);
    EXPECT_EQ(Color(0.1f, 0.2f, 0.3f, 1), light.ambient);
    EXPECT_EQ(Color(0.4f, 0.5f, 0.6f, 1), light.diffuse);
    EXPECT_EQ(Color(0.7f, 0.8f, 0.9f, 1), light.specular);
}

TEST_F(CubeMapTest, AColourWithoutBlueFails)
{
    TiXmlDocument document("Light.xml");
    document.Parse("<ambient r='1' g='1'/>");
    const std::string error = ErrorOf([&] { CubeMap::ReadColor(document.RootElement()); });
    EXPECT_NE(std::string::npos, error.find("Missing attribute 'b' in:\nLight.xml, line 1"))
        << error;
}
