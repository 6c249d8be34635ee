#include "Engine/Settings.h"
#include "Graphics/DirectionalLight.h"
#include "Graphics/LightSet.h"
#include "Graphics/PositionalLight.h"
#include "Graphics/SceneGlTest.h"
#include "Graphics/SpotLight.h"
#include "Support/Capture.h"

namespace
{

class LightSetGlTest : public SceneGlTest
{
protected:
    void SetUp() override
    {
        SceneGlTest::SetUp();
        Settings::SetDefaults();
        lights = std::make_unique<LightSet>();
    }
    void TearDown() override { Settings::SetDefaults(); }

    // A light on the set's next free number.
    LightSettings Next() const { return LightSettings(lights->GetFreeLightId()).Enable(); }

    static void ExpectLight(GLenum id, GLenum parameter, const std::vector<float>& expected)
    {
        GLfloat value[4] = {};
        glGetLightfv(id, parameter, value);
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_NEAR(expected[i], value[i], 1e-6f) << parameter << " " << i;
    }

    std::unique_ptr<LightSet> lights;
};

} // namespace

TEST_F(LightSetGlTest, NumbersAreHandedOutLowestFirstUntilNoneIsLeft)
{
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1)) << "the video context's light stays on";
    ASSERT_LE(3, lights->GetMaxLights());
    EXPECT_EQ(GL_LIGHT0, lights->GetFreeLightId());

    lights->Add(std::make_unique<PositionalLight>(LightSettings(GL_LIGHT0)));
    Light* const second = lights->Add(std::make_unique<PositionalLight>(LightSettings(GL_LIGHT1)));
    lights->Add(std::make_unique<PositionalLight>(LightSettings(GL_LIGHT2)));
    ASSERT_TRUE(lights->Remove(second));
    EXPECT_FALSE(lights->Remove(second));
    EXPECT_EQ(GL_LIGHT1, lights->GetFreeLightId());
    delete second;

    while (lights->GetFreeLightId() != 0)
        ASSERT_NE(nullptr, lights->Add(std::make_unique<DirectionalLight>(Next())));
    EXPECT_EQ(nullptr, lights->Add(std::make_unique<DirectionalLight>(Next())));
}

TEST_F(LightSetGlTest, ApplySendsTheModelAndTheColoursScaledByGamma)
{
    Settings::gammaCorrection = 1.5f;
    lights->ambient = Color(0.1f, 0.1f, 0.1f, 1.0f);
    lights->twoSide = 1;
    lights->Add(std::make_unique<PositionalLight>(
        Next().SetDiffuse(0.8f, 0.8f, 0.8f, 1.0f).SetAmbient(0.2f, 0.4f, 0.6f, 0.5f)));
    Light* const off = lights->Add(std::make_unique<DirectionalLight>(LightSettings(GL_LIGHT1)));
    glEnable(GL_LIGHT1);
    EXPECT_EQ("", OutputOf([&] { lights->Apply(); }));

    GLfloat model[4];
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, model);
    EXPECT_FLOAT_EQ(0.1f, model[0]);
    GLint twoSide = 0;
    glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &twoSide);
    EXPECT_EQ(1, twoSide);

    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    ExpectLight(GL_LIGHT0, GL_DIFFUSE, {1.2f, 1.2f, 1.2f, 1.0f});
    ExpectLight(GL_LIGHT0, GL_AMBIENT, {0.3f, 0.6f, 0.9f, 0.5f});
    ExpectLight(GL_LIGHT0, GL_SPOT_CUTOFF, {180});
    ExpectLight(GL_LIGHT0, GL_CONSTANT_ATTENUATION, {1});
    // Settings left at their defaults give a light that is switched off.
    EXPECT_FALSE(glIsEnabled(off->GetId()));
}

TEST_F(LightSetGlTest, PositionsAreSentUnderTheCurrentModelview)
{
    lights->Add(std::make_unique<DirectionalLight>(Next().SetPosition(0, 0, 10)));
    lights->Add(std::make_unique<PositionalLight>(Next().SetPosition(1, 2, 3)));
    LightSettings cone = Next().SetPosition(0, 0, 0);
    cone.spotDirection.Set(0, 3, 0);
    cone.spotExponent = 4;
    cone.spotCutoff = 25;
    lights->Add(std::make_unique<SpotLight>(cone));
    lights->Apply();
    glLoadIdentity();
    glTranslatef(10, 0, 0);
    glRotatef(90, 0, 0, 1);
    lights->UploadPositions();

    // Rotated by 90 degrees about z: (x, y, z) becomes (-y, x, z).
    ExpectLight(GL_LIGHT0, GL_POSITION, {0, 0, 1, 0});
    ExpectLight(GL_LIGHT1, GL_POSITION, {8, 1, 3, 1});
    ExpectLight(GL_LIGHT2, GL_POSITION, {10, 0, 0, 1});
    ExpectLight(GL_LIGHT2, GL_SPOT_DIRECTION, {-1, 0, 0});
    ExpectLight(GL_LIGHT2, GL_SPOT_EXPONENT, {4});
    ExpectLight(GL_LIGHT2, GL_SPOT_CUTOFF, {25});
}

TEST_F(LightSetGlTest, SetEnabledSwitchesTheLight)
{
    Light* const light = lights->Add(std::make_unique<PositionalLight>(Next()));
    lights->Apply();
    light->SetEnabled(false);
    EXPECT_FALSE(glIsEnabled(light->GetId()));
    light->SetEnabled(true);
    EXPECT_TRUE(glIsEnabled(light->GetId()));
}

TEST_F(LightSetGlTest, MarkersLeaveTheStateAsTheyFoundIt)
{
    lights->Add(std::make_unique<DirectionalLight>(Next().SetDiffuse(Color::Red)));
    lights->Add(std::make_unique<PositionalLight>(Next().SetPosition(3, 3, -5)));
    LightSettings cone = Next().SetPosition(0, 0, -5).SetDiffuse(Color::Green);
    cone.spotDirection.Set(0, 0, -1);
    lights->Add(std::make_unique<SpotLight>(cone));
    lights->Apply();
    glEnable(GL_CULL_FACE);
    GLfloat colour[4] = {0.25f, 0.5f, 0.75f, 1.0f};
    glColor4fv(colour);

    lights->DrawMarkers();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(GL_TRUE, depthWrites);
    GLfloat current[4];
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_FLOAT_EQ(0.5f, current[1]);
    GLfloat emission[4];
    glGetMaterialfv(GL_FRONT, GL_EMISSION, emission);
    EXPECT_FLOAT_EQ(0.0f, emission[0]);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());

    // The spot light's marker, unlit, in front of the viewer.
    EXPECT_EQ(0x00FF00u, ReadBackPixel(GlWindowWidth / 2, GlWindowHeight / 2));
}
