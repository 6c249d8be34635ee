#include "Engine/ResourceType.h"
#include "Graphics/CheckGLError.h"
#include "Graphics/CubeMap.h"
#include "Graphics/DirectionalLight.h"
#include "Graphics/SceneGlTest.h"
#include "Graphics/SkyBox.h"
#include "Support/Capture.h"
#include "Support/Images.h"

namespace
{

// By the faces of the strip: +X, -X, +Z, -Z, +Y, -Y.
const Uint32 FaceColors[CubeMap::FaceCount] = {0xFF0000, 0x00FF00, 0x0000FF,
                                               0xFFFF00, 0x00FFFF, 0xFF00FF};

class SkyBoxGlTest : public StoredSceneGlTest
{
protected:
    // A cube map with one solid colour per face, and the given extra
    // definition.
    void WriteSky(const std::string& extra = "")
    {
        WriteBmp("Data/Strip.bmp", 24, 4, [](int x, int) { return FaceColors[x / 4]; });
        WriteTextFile("Data/Sky.xml", "<CubeMap><image file='Strip.bmp'/>" + extra + "</CubeMap>");
        store->AddResource("Data/Sky.xml", "Stars", ResourceType::CubeMap);
    }

    Uint32 Centre() const { return ReadBackPixel(GlWindowWidth / 2, GlWindowHeight / 2); }
};

} // namespace

TEST_F(SkyBoxGlTest, TheViewShowsTheFaceItLooksAt)
{
    WriteSky();
    SkyBox sky(store.get(), "Stars");
    WaitUntilReady(store->GetCubeMap("Stars", true));

    const struct
    {
        float pitch;
        float yaw;
        int face;
    } views[] = {
        {0, 0, 3},    // -Z
        {180, 0, 2},  // +Z
        {90, 0, 5},   // -Y
        {-90, 0, 4},  // +Y
        {90, 90, 1},  // -X
        {90, -90, 0}, // +X
    };
    for (const auto& view : views)
    {
        SCOPED_TRACE(testing::Message() << "pitch " << view.pitch << ", yaw " << view.yaw);
        camera.pitch = view.pitch;
        camera.yaw = view.yaw;
        camera.Snap();
        graph.BeginFrame();
        camera.Apply();
        sky.Draw();
        EXPECT_EQ(FaceColors[view.face], Centre());
    }
    EXPECT_EQ("", OutputOf([] { CheckGLError("after the sky"); }));
}

TEST_F(SkyBoxGlTest, DrawingLeavesTheSceneStateAsTheSceneNeedsIt)
{
    WriteSky();
    SkyBox sky(store.get(), "Stars");
    WaitUntilReady(store->GetCubeMap("Stars", true));
    camera.Apply();
    glTranslatef(1, 2, 3);
    GLfloat before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);

    sky.Draw();
    EXPECT_NE(0u, Centre());
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(before[i], after[i]) << i;
    for (const GLenum capability : {GL_LIGHTING, GL_DEPTH_TEST})
        EXPECT_TRUE(glIsEnabled(capability)) << capability;
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_CUBE_MAP));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(GL_TRUE, depthWrites);
}

TEST_F(SkyBoxGlTest, NothingIsDrawnWhileTheCubeMapLoads)
{
    WriteSky();
    SkyBox sky(store.get(), "Stars");
    camera.Apply();
    sky.Draw();
    EXPECT_EQ(0u, Centre());
}

TEST_F(SkyBoxGlTest, TheCubeMapAndTheCameraMustExist)
{
    EXPECT_EQ("Missing resource: 'Stars'", ErrorOf([&] { SkyBox sky(store.get(), "Stars"); }));
    DataStore orphan(nullptr);
    EXPECT_EQ("Missing resource: 'Stars'", ErrorOf([&] { SkyBox sky(&orphan, "Stars"); }))
        << "the cube map is asked for first";
    WriteSky();
    DataStore child(store.get());
    EXPECT_EQ("no error", ErrorOf([&] { SkyBox sky(&child, "Stars"); }));
    orphan.AddResource("Data/Sky.xml", "Stars", ResourceType::CubeMap);
    EXPECT_EQ("Missing resource: 'Camera'", ErrorOf([&] { SkyBox sky(&orphan, "Stars"); }));
}

TEST_F(SkyBoxGlTest, TheCubeMapsLightCanBeCopiedOnceItIsLoaded)
{
    WriteSky("<light><direction x='0' y='0' z='10'/><diffuse r='0.5' g='0.25' b='1'/></light>");
    SkyBox sky(store.get(), "Stars");
    DirectionalLight sun(GL_LIGHT0);
    sky.ApplyLight(&sun);
    EXPECT_EQ(1, sun.GetPosition()[0]) << "copied while loading";

    WaitUntilReady(store->GetCubeMap("Stars", true));
    sky.ApplyLight(&sun);
    EXPECT_EQ(0, sun.GetPosition()[0]);
    EXPECT_EQ(10, sun.GetPosition()[2]);
    EXPECT_EQ(0, sun.GetPosition()[3]);
    EXPECT_EQ(0.25f, sun.GetDiffuse()[1]);
}
