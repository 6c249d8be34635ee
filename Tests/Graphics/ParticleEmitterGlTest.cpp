#include "Graphics/ParticleEmitter.h"
#include "Graphics/SceneGlTest.h"
#include "Graphics/Texture.h"
#include "Support/Images.h"

namespace
{

class ParticleEmitterGlTest : public StoredSceneGlTest
{
protected:
    void SetUp() override
    {
        StoredSceneGlTest::SetUp();
        WriteSolidBmp("Data/Spark.bmp", 4, 4, 0xFFFFFF);
        spark = store->AddTexture("Data/Spark.bmp", nullptr);
        WaitUntilReady(spark);
        camera.Apply();
    }

    Uint32 Centre() const { return ReadBackPixel(GlWindowWidth / 2, GlWindowHeight / 2); }

    Texture* spark = nullptr;
};

} // namespace

TEST_F(ParticleEmitterGlTest, ParticlesAddTheirFadingLightToTheScene)
{
    ParticleEmitter emitter(spark, 1, 0.5f);
    emitter.Emit(Math::Vector(0, 0, -5), Math::Vector(), Math::Vector());
    emitter.Draw();
    EXPECT_EQ(0xFFFFFFu, Centre());

    graph.BeginFrame();
    camera.Apply();
    emitter.Update();
    emitter.Draw();
    const Uint32 half = Centre();
    EXPECT_NEAR(0x80, half & 0xFF, 1);
    EXPECT_EQ(half & 0xFF, half >> 16);
}

TEST_F(ParticleEmitterGlTest, DrawingRestoresTheState)
{
    ParticleEmitter emitter(spark, 1, 0.015f);
    emitter.Emit(Math::Vector(0, 0, -5), Math::Vector(), Math::Vector());
    emitter.Draw();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    GLint destination = 0;
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(GL_ONE_MINUS_SRC_ALPHA, destination);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(GL_TRUE, depthWrites);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}
