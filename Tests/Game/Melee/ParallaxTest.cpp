#include "Game/Melee/Parallax.h"

#include "Engine/DataStore.h"
#include "Platform/Random.h"
#include "Support/ReadyResources.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace
{

const int Stars = 1600;

class ParallaxTest : public testing::Test
{
protected:
    void SetUp() override { PublishReady(store, new IdleTexture("BackgroundStars")); }

    DataStore store{nullptr};
};

// A star's centre, the corner of its texture quarter and its half size.
struct Star
{
    float x, y, u, v, halfSize;
};

// The star of vertices 4 index to 4 index + 3, after checking that they
// make its quad: upper left, lower left, lower right, upper right, at z 0,
// each with its corner of the quarter.
Star StarAt(const VertexArray& stars, int index)
{
    const float* const position = &stars.GetVertices()[12 * index];
    const float* const texture = &stars.GetTexCoords()[8 * index];
    const float halfSize = (position[6] - position[3]) / 2;
    const Star star = {(position[3] + position[6]) / 2, (position[4] + position[1]) / 2, texture[2],
                       texture[3], halfSize};
    const float corners[4][2] = {{-1, 1}, {-1, -1}, {1, -1}, {1, 1}};
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_NEAR(star.x + corners[i][0] * halfSize, position[3 * i], 1e-4f) << index;
        EXPECT_NEAR(star.y + corners[i][1] * halfSize, position[3 * i + 1], 1e-4f) << index;
        EXPECT_EQ(0.0f, position[3 * i + 2]) << index;
        EXPECT_EQ(star.u + (corners[i][0] + 1) / 4, texture[2 * i]) << index;
        EXPECT_EQ(star.v + (corners[i][1] + 1) / 4, texture[2 * i + 1]) << index;
    }
    return star;
}

TEST_F(ParallaxTest, TheLayerOfSeedOneHasOneStarInEveryCell)
{
    Platform::SeedRandom(77);
    const Parallax parallax(store);
    const VertexArray& stars = parallax.GetStars();
    ASSERT_EQ(4 * Stars, stars.GetCount());

    // Column by column from the lower left, each cell's star anywhere in its
    // whole units, on one quarter of the texture, 0.3 to 0.7 in half size.
    for (int index = 0; index < Stars; ++index)
    {
        const Star star = StarAt(stars, index);
        const float cellX = static_cast<float>(-200 + 10 * (index / 40));
        const float cellY = static_cast<float>(-200 + 10 * (index % 40));
        const float x = std::round(star.x);
        const float y = std::round(star.y);
        ASSERT_TRUE(std::fabs(star.x - x) < 1e-4f && x >= cellX && x <= cellX + 9 &&
                    std::fabs(star.y - y) < 1e-4f && y >= cellY && y <= cellY + 9)
            << index << ": " << star.x << ", " << star.y;
        ASSERT_TRUE((star.u == 0 || star.u == 0.5f) && (star.v == 0 || star.v == 0.5f)) << index;
        ASSERT_TRUE(star.halfSize > 0.29f && star.halfSize < 0.71f) << index;
    }

    const struct
    {
        int index;
        Star star;
    } cases[] = {
        {0, {-199, -193, 0, 0, 0.7f}},    {2, {-195, -175, 0.5f, 0.5f, 0.4f}},
        {3, {-199, -165, 0, 0.5f, 0.4f}}, {40, {-181, -194, 0.5f, 0.5f, 0.3f}},
        {777, {-7, -21, 0, 0.5f, 0.3f}},  {1599, {196, 191, 0.5f, 0.5f, 0.5f}},
    };
    for (const auto& c : cases)
    {
        const Star star = StarAt(stars, c.index);
        EXPECT_NEAR(c.star.x, star.x, 1e-4f) << c.index;
        EXPECT_NEAR(c.star.y, star.y, 1e-4f) << c.index;
        EXPECT_EQ(c.star.u, star.u) << c.index;
        EXPECT_EQ(c.star.v, star.v) << c.index;
        EXPECT_NEAR(c.star.halfSize, star.halfSize, 1e-5f) << c.index;
    }
}

// Five draws a star from seed 1: what draws next goes on from there.
TEST_F(ParallaxTest, WhatDrawsAfterTheLayerGoesOnWithItsSequence)
{
    Platform::SeedRandom(1);
    for (int i = 0; i < 5 * Stars; ++i)
        Platform::Random();
    std::vector<int> expected;
    for (int i = 0; i < 3; ++i)
        expected.push_back(Platform::Random());

    Platform::SeedRandom(77);
    const Parallax parallax(store);
    std::vector<int> drawn;
    for (int i = 0; i < 3; ++i)
        drawn.push_back(Platform::Random());
    EXPECT_EQ(expected, drawn);
}

} // namespace
