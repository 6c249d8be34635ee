#include "Engine/Color.h"

#include <gtest/gtest.h>

namespace
{

void ExpectNear(const Color& expected, const Color& actual)
{
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_NEAR(expected[i], actual[i], 1e-6f) << "component " << i;
    }
}

} // namespace

TEST(ColorTest, DefaultIsOpaqueBlackAndThreeComponentsAreOpaque)
{
    EXPECT_EQ(Color::Black, Color());
    EXPECT_EQ(Color(0.1f, 0.2f, 0.3f, 1), Color(0.1f, 0.2f, 0.3f));
    EXPECT_EQ(Color(1, 1, 1, 1), Color::White);
    EXPECT_NE(Color::Red, Color::Green);
}

TEST(ColorTest, SumsAndDifferencesClampEveryComponent)
{
    const struct
    {
        Color a;
        Color b;
        Color sum;
        Color difference;
    } cases[] = {
        {{0.8f, 0.5f, 0.2f, 1}, {0.5f, 0.6f, -0.5f, 0.5f}, {1, 1, 0, 1}, {0.3f, 0, 0.7f, 0.5f}},
        {{0.2f, 0.2f, 0.2f, 0.2f},
         {0.1f, 0.1f, 0.1f, 0.1f},
         {0.3f, 0.3f, 0.3f, 0.3f},
         {0.1f, 0.1f, 0.1f, 0.1f}},
        {{2, -1, 0.5f, 0}, {0, 0, 0, 0}, {1, 0, 0.5f, 0}, {1, 0, 0.5f, 0}},
    };
    for (const auto& c : cases)
    {
        ExpectNear(c.sum, c.a + c.b);
        ExpectNear(c.difference, c.a - c.b);
        Color inPlace = c.a;
        inPlace += c.b;
        ExpectNear(c.sum, inPlace);
    }
}

TEST(ColorTest, ScalingLeavesAlphaAndDoesNotClamp)
{
    ExpectNear(Color(2, 2, 2, 0.5f), Color(0.5f, 0.5f, 0.5f, 0.5f) * 4.0f);
    Color c(0.5f, 0.25f, 1, 0.5f);
    c *= -1.0f;
    ExpectNear(Color(-0.5f, -0.25f, -1, 0.5f), c);
}

TEST(ColorTest, SettersChangeOnlyWhatTheyName)
{
    Color c(0.1f, 0.2f, 0.3f, 0.4f);
    c.Set(0.5f, 0.6f, 0.7f);
    ExpectNear(Color(0.5f, 0.6f, 0.7f, 0.4f), c);
    c.SetGreen(0);
    c.SetAlpha(1);
    ExpectNear(Color(0.5f, 0, 0.7f, 1), c);
    EXPECT_EQ(0.7f, c.GetBlue());
    EXPECT_EQ(0.7f, c.Data()[2]);
}

TEST(ColorTest, MixIsLinearWithTheAmountClamped)
{
    const Color from(0, 0.4f, 1, 1);
    const Color to(1, 0.8f, 0, 0);
    const struct
    {
        float t;
        Color expected;
    } cases[] = {
        {0, from}, {0.25f, {0.25f, 0.5f, 0.75f, 0.75f}}, {1, to}, {-1, from}, {3, to},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.t);
        ExpectNear(c.expected, Color::Mix(from, to, c.t));
        Color inPlace = from;
        inPlace.Mix(to, c.t);
        ExpectNear(c.expected, inPlace);
    }
}
