#include "Game/Solar/SolarSystemState.h"

#include "Game/GameDataGlTest.h"
#include "Graphics/PositionalLight.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <vector>

namespace
{

using SolarSystemStateGlTest = GameDataGlTest;

std::vector<float> Four(const float* values)
{
    return std::vector<float>(values, values + 4);
}

TEST_F(SolarSystemStateGlTest, TheSunIsTheFirstLightAndShinesFromTheCentre)
{
    const std::unique_ptr<SolarSystemState> solar = StartOverMenu<SolarSystemState>();
    const PositionalLight* const sun = solar->GetSunLight();
    ASSERT_NE(nullptr, sun);
    EXPECT_EQ(GL_LIGHT0, sun->GetId());
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_EQ((std::vector<float>{0, 0, 0, 1}), Four(sun->GetPosition().Data()));
    EXPECT_EQ((std::vector<float>{0.7f, 0.7f, 0.6f, 0}), Four(sun->GetDiffuse().Data()));
    EXPECT_EQ((std::vector<float>{0.5f, 0.5f, 0.5f, 1}), Four(sun->GetAmbient().Data()));
    EXPECT_EQ((std::vector<float>{0.1f, 0.1f, 0.05f, 0}), Four(sun->GetSpecular().Data()));
}

} // namespace
