#include "Engine/MathUtil.h"

#include <climits>
#include <gtest/gtest.h>

TEST(MathUtilTest, NextPowerOfTwoIsTheSmallestNotBelow)
{
    const struct
    {
        int n;
        std::uint32_t expected;
    } cases[] = {
        {INT_MIN, 1},
        {-5, 1},
        {0, 1},
        {1, 1},
        {2, 2},
        {5, 8},
        {8, 8},
        {640, 1024},
        {1 << 30, 1u << 30},
        {(1 << 30) + 1, 1u << 31},
        {INT_MAX, 1u << 31},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.expected, NextPowerOfTwo(c.n)) << "n = " << c.n;
    }
}

TEST(MathUtilTest, IsZeroExcludesItsBounds)
{
    const struct
    {
        float x;
        bool expected;
    } cases[] = {
        {0, true},      {-0.0f, true},   {1e-9f, true}, {-9.9e-9f, true},
        {1e-8f, false}, {-1e-8f, false}, {1, false},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.expected, Math::IsZero(c.x)) << "x = " << c.x;
    }
}

TEST(MathUtilTest, SwapExchangesTheValues)
{
    float a = 1;
    float b = 2;
    Math::Swap(a, b);
    EXPECT_EQ(2, a);
    EXPECT_EQ(1, b);
}
