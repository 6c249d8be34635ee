#include "Platform/Random.h"

#include <gtest/gtest.h>

TEST(RandomTest, ReproducesTheGameLayoutsSequence)
{
    Platform::SeedRandom(1);
    EXPECT_EQ(41, Platform::Random());
    EXPECT_EQ(18467, Platform::Random());
    EXPECT_EQ(6334, Platform::Random());
}

TEST(RandomTest, ReseedingRestartsTheSequenceAndValuesStayInRange)
{
    Platform::SeedRandom(1343);
    const int first = Platform::Random();
    for (int i = 0; i < 10000; ++i)
    {
        const int value = Platform::Random();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, Platform::RandomMax);
    }
    Platform::SeedRandom(1343);
    EXPECT_EQ(first, Platform::Random());
}
