#include "Game/Objects/AsteroidModel.h"

#include "Platform/Random.h"
#include "Support/VectorText.h"
#include "WorldFixture.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{

using AsteroidModelTest = WorldTest;

TEST_F(AsteroidModelTest, DrawsItsSpinPlaceAndVelocityInAFixedOrder)
{
    Platform::SeedRandom(1);
    int draws[11];
    for (int& draw : draws)
        draw = Platform::Random();
    Platform::SeedRandom(1);
    const AsteroidModel asteroid(store);

    // The first draw is the axis's z component, the third its x.
    Math::Vector axis(draws[2] % 1000 / 1000.0f, draws[1] % 1000 / 1000.0f,
                      draws[0] % 1000 / 1000.0f);
    axis.Normalize();
    EXPECT_EQ(VectorText(axis), VectorText(asteroid.GetSpinAxis()));
    EXPECT_EQ(static_cast<float>(draws[3] % 360), asteroid.GetSpinAngle());
    EXPECT_FLOAT_EQ((draws[4] % 2000 - 1000) / 10.0f, asteroid.GetSpinSpeed());
    EXPECT_EQ(static_cast<float>(draws[5] % 200 - 100), asteroid.GetX());
    EXPECT_EQ(static_cast<float>(draws[6] % 200 - 100), asteroid.GetY());
    EXPECT_EQ(static_cast<float>(draws[7] % 50 - 25), asteroid.GetVelocityX());
    EXPECT_EQ(static_cast<float>(draws[8] % 50 - 25), asteroid.GetVelocityY());
    EXPECT_EQ(1, asteroid.GetHitPoints());
    EXPECT_EQ(5.0f, asteroid.GetMass());
    EXPECT_EQ(1.3f, asteroid.GetRadius());
    EXPECT_EQ(store.GetModel("Asteroid", true), asteroid.GetMesh());
}

TEST_F(AsteroidModelTest, ThreeZeroAxisDrawsSpinItAboutZ)
{
    // This seed's first three draws are multiples of 1000.
    const unsigned seed = 4090229556u;
    Platform::SeedRandom(seed);
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(0, Platform::Random() % 1000);
    Platform::SeedRandom(seed);
    AsteroidModel asteroid(store);
    EXPECT_EQ("(0, 0, 1)", VectorText(asteroid.GetSpinAxis()));
    asteroid.Update();
    // About z the rock keeps its size.
    const Math::Matrix& transform = asteroid.GetTransform();
    EXPECT_FLOAT_EQ(1.0f, std::hypot(transform[0], transform[1]));
}

TEST_F(AsteroidModelTest, AHitMakesItReappearOnTheEdgeOfTheMiddleSquare)
{
    AsteroidModel* const asteroid = new AsteroidModel(store);
    ObjectFactoryInterface::AddPending(new ControllerInterface(asteroid, nullptr));
    factory->Flush();
    for (int hit = 0; hit < 40; ++hit)
    {
        if (hit % 2)
            asteroid->Damage(1);
        else
            asteroid->OnHit(*asteroid);
        EXPECT_TRUE(asteroid->IsAlive());
        const float x = asteroid->GetX();
        const float y = asteroid->GetY();
        EXPECT_TRUE(std::fabs(x) == 100 || std::fabs(y) == 100) << x << ", " << y;
        EXPECT_TRUE(x >= -100 && x <= 100 && y >= -100 && y <= 100) << x << ", " << y;
        EXPECT_TRUE(std::fabs(asteroid->GetVelocityX()) <= 25);
        EXPECT_TRUE(std::fabs(asteroid->GetVelocityY()) <= 25);
        // Placed without a sweep.
        EXPECT_EQ(asteroid->GetTransform()[12], asteroid->GetPreviousTransform()[12]);
        EXPECT_EQ(x, asteroid->GetTransform()[12]);
    }
    factory->Flush();
    EXPECT_EQ(1u, world.size());
}

TEST_F(AsteroidModelTest, SpinsEachTimeItsTransformIsBuilt)
{
    AsteroidModel asteroid(store);
    const float start = asteroid.GetSpinAngle();
    const float turn = 0.015f * asteroid.GetSpinSpeed();
    asteroid.Update();
    asteroid.SetPosition(0, 0);
    float expected = start + turn;
    expected += turn;
    if (expected >= 360)
        expected -= 360;
    if (expected < 0)
        expected += 360;
    EXPECT_NEAR(expected, asteroid.GetSpinAngle(), 1e-3f);
}

} // namespace
