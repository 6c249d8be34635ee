#include "Graphics/DirectionalLight.h"
#include "Graphics/LightSettings.h"
#include "Graphics/PositionalLight.h"
#include "Graphics/SpotLight.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <memory>

namespace
{

void ExpectColor(const Color& expected, const Color& actual)
{
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ(expected[i], actual[i]) << "component " << i;
}

void ExpectPoint(const Math::Point& expected, const Math::Point& actual)
{
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ(expected[i], actual[i]) << "component " << i;
}

LightSettings Lamp()
{
    LightSettings settings = LightSettings(GL_LIGHT2)
                                 .Enable()
                                 .SetPosition(1, 2, 3)
                                 .SetAmbient(0.1f, 0.2f, 0.3f, 0.4f)
                                 .SetDiffuse(Color::Red)
                                 .SetSpecular(Color(0.5f, 0.5f, 0.5f, 0.0f));
    settings.attenuation[1] = 0.25f;
    settings.spotDirection.Set(0, 0, -3);
    settings.spotExponent = 2;
    settings.spotCutoff = 30;
    return settings;
}

} // namespace

TEST(LightTest, SettingsStartDarkAndOffAndTheSettersChain)
{
    const LightSettings defaults(GL_LIGHT3);
    EXPECT_FALSE(defaults.enabled);
    EXPECT_EQ(GL_LIGHT3, defaults.lightId);
    ExpectPoint(Math::Point(0, 0, 0, 1), defaults.position);
    ExpectColor(Color(0, 0, 0, 1), defaults.ambient);
    ExpectColor(Color(0, 0, 0, 0), defaults.diffuse);
    ExpectColor(Color(0, 0, 0, 0), defaults.specular);
    EXPECT_EQ(1, defaults.attenuation[0]);
    EXPECT_EQ(0, defaults.attenuation[1]);
    EXPECT_EQ(0, defaults.attenuation[2]);
    EXPECT_EQ(1, defaults.spotDirection[0]);
    EXPECT_EQ(0, defaults.spotExponent);
    EXPECT_EQ(180, defaults.spotCutoff);

    const LightSettings lamp = Lamp();
    EXPECT_TRUE(lamp.enabled);
    ExpectPoint(Math::Point(1, 2, 3, 1), lamp.position);
    ExpectColor(Color(0.1f, 0.2f, 0.3f, 0.4f), lamp.ambient);
    ExpectColor(Color::Red, lamp.diffuse);
    ExpectColor(Color(0.5f, 0.5f, 0.5f, 0.0f), lamp.specular);

    LightSettings moved(GL_LIGHT0);
    moved.position[3] = 0;
    moved.SetPosition(4, 5, 6);
    ExpectPoint(Math::Point(4, 5, 6, 0), moved.position);
}

TEST(LightTest, EachKindTakesWhatItUsesAndSetsItsW)
{
    const LightSettings lamp = Lamp();
    const DirectionalLight directional(lamp);
    const PositionalLight positional(lamp);
    const SpotLight spot(lamp);
    const Light* const lights[] = {&directional, &positional, &spot};
    const float w[] = {0, 1, 1};
    for (int i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(GL_LIGHT2, lights[i]->GetId());
        EXPECT_TRUE(lights[i]->IsEnabled());
        ExpectPoint(Math::Point(1, 2, 3, w[i]), lights[i]->GetPosition());
        ExpectColor(lamp.ambient, lights[i]->GetAmbient());
        ExpectColor(lamp.diffuse, lights[i]->GetDiffuse());
        ExpectColor(lamp.specular, lights[i]->GetSpecular());
    }
    EXPECT_EQ(0.25f, positional.GetAttenuation()[1]);
    EXPECT_EQ(0.25f, spot.GetAttenuation()[1]);
    EXPECT_EQ(-3, spot.GetSpotDirection()[2]);
    EXPECT_EQ(2, spot.GetSpotExponent());
    EXPECT_EQ(30, spot.GetSpotCutoff());
}

TEST(LightTest, ALightFromABareNumberIsOffAtXWithTheDefaults)
{
    const DirectionalLight directional(GL_LIGHT4);
    const SpotLight spot(GL_LIGHT4);
    EXPECT_FALSE(directional.IsEnabled());
    ExpectPoint(Math::Point(1, 0, 0, 0), directional.GetPosition());
    ExpectPoint(Math::Point(1, 0, 0, 1), spot.GetPosition());
    ExpectColor(Color(0, 0, 0, 1), spot.GetAmbient());
    EXPECT_EQ(1, spot.GetAttenuation()[0]);
    EXPECT_EQ(1, spot.GetSpotDirection()[0]);
    EXPECT_EQ(180, spot.GetSpotCutoff());
}

// A directional light that took a point's w would become a point light.
TEST(LightTest, CopyingSettingsTakesPositionAndColoursAndKeepsTheKind)
{
    DirectionalLight light(GL_LIGHT1);
    const LightSettings lamp = Lamp();
    light.CopyFrom(lamp);
    ExpectPoint(Math::Point(1, 2, 3, 0), light.GetPosition());
    ExpectColor(lamp.ambient, light.GetAmbient());
    ExpectColor(lamp.diffuse, light.GetDiffuse());
    ExpectColor(lamp.specular, light.GetSpecular());
    EXPECT_FALSE(light.IsEnabled());
    EXPECT_EQ(GL_LIGHT1, light.GetId());
}
