#include "Engine/ResourceType.h"
#include "Graphics/LensFlare.h"
#include "Graphics/PositionalLight.h"
#include "Graphics/SceneGlTest.h"
#include "Graphics/Texture.h"
#include "Support/Capture.h"
#include "Support/Images.h"

namespace
{

const char* const FlareTextures[] = {"LensFlare_Streaks", "LensFlare_Glow", "LensFlare_Halo",
                                     "LensFlare_Flare1"};

class LensFlareGlTest : public StoredSceneGlTest
{
protected:
    void AddTextures(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            const std::string file = std::string("Data/") + FlareTextures[i] + ".bmp";
            WriteSolidBmp(file, 8, 8, 0xFFFFFF);
            store->AddResource(file, FlareTextures[i], ResourceType::Texture);
        }
    }

    Uint32 Centre() const { return ReadBackPixel(GlWindowWidth / 2, GlWindowHeight / 2); }

    const PositionalLight light{
        LightSettings(GL_LIGHT0).SetPosition(0, 0, -5).SetDiffuse(Color::Red)};
};

} // namespace

TEST_F(LensFlareGlTest, EveryTextureAndTheCameraMustExist)
{
    AddTextures(3);
    EXPECT_EQ("Missing resource: 'LensFlare_Flare1'",
              ErrorOf([&] { LensFlare flare(store.get(), &light); }));
    DataStore orphan(nullptr);
    EXPECT_EQ("Missing resource: 'LensFlare_Streaks'",
              ErrorOf([&] { LensFlare flare(&orphan, &light); }));
}

TEST_F(LensFlareGlTest, TheStreaksFaceTheViewerInTheLightsColour)
{
    AddTextures(4);
    const LensFlare flare(store.get(), &light);
    flare.Draw();
    EXPECT_EQ(0u, Centre()) << "drawn while the streaks load";
    WaitUntilReady(store->GetTexture("LensFlare_Streaks", true));

    // The flare is drawn where the light is seen from the viewer, under the
    // view's rotation alone.
    glTranslatef(3, 1, 0);
    glRotatef(180, 0, 1, 0);
    GLfloat before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    flare.Draw();
    EXPECT_EQ(0u, Centre()) << "the light is behind the viewer";
    glRotatef(180, 0, 1, 0);
    flare.Draw();
    EXPECT_EQ(0xFF0000u, Centre());

    GLint destination = 0;
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(GL_ONE_MINUS_SRC_ALPHA, destination);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_NEAR(3, after[12], 1e-5f);

    const LensFlare dark(store.get(), nullptr);
    graph.BeginFrame();
    dark.Draw();
    EXPECT_EQ(0u, Centre());
}
