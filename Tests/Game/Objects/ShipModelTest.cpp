#include "Game/Objects/ShipModel.h"

#include "Game/Objects/ThrustBehavior.h"
#include "Support/Capture.h"
#include "Support/VectorText.h"
#include "WorldFixture.h"

#include <gtest/gtest.h>

namespace
{

// A ship of acceleration 1, speed limit 2 and turning speed 100 with one
// engine, made by a controller as the game makes it.
class ShipModelTest : public WorldTest
{
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        data->acceleration = 1.0f;
        data->maxSpeed = 2.0f;
        data->maxSpeedSquared = 4.0f;
        data->turningSpeed = 100.0f;
        data->crew = 7;
        auto engine = std::make_unique<ThrustData>(nullptr);
        engine->position.Set(-1, 0, 0);
        engine->speed.Set(-4, 0, 0);
        engine->speedFactor = 0.5f;
        data->engines.push_back(std::move(engine));
        ship = new ShipModel(*data, store);
        controller = std::make_unique<ControllerInterface>(ship, nullptr);
    }

    std::unique_ptr<Melee::ShipModel::Data> data = ShipData();
    ShipModel* ship = nullptr;
    std::unique_ptr<ControllerInterface> controller;
};

TEST_F(ShipModelTest, ThrustGainsSpeedUpToTheLimitAndBrakesAboveIt)
{
    const struct
    {
        const char* what;
        float vx;
        bool nearPlanet;
        float newVx;
        float pitchTarget;
    } cases[] = {
        // f = (4 - 1) / 4: a quarter of the thrust is taken back.
        {"from rest", 0, false, 0.75f, -15},
        {"reaching the limit", 1, false, 1, 0},
        {"above the limit", 3, false, 0, 60},
        // Near a planet the limit is a speed of 200.
        {"above the limit near a planet", 3, true, 3.9996f, -19.992f},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.what);
        ship->SetVelocity(test.vx, 0);
        ship->nearPlanet = test.nearPlanet;
        ship->controls.thrust = true;
        ship->Update();
        EXPECT_FLOAT_EQ(test.newVx, ship->GetVelocityX());
        EXPECT_FLOAT_EQ(0.0f, ship->GetVelocityY());
        EXPECT_FLOAT_EQ(test.pitchTarget, ship->GetPitchSpring().target);
        EXPECT_FALSE(ship->nearPlanet);
    }
}

TEST_F(ShipModelTest, ThrustFollowsTheSnappedHeading)
{
    ship->SetAngle(91);
    ship->controls.thrust = true;
    ship->Update();
    EXPECT_NEAR(0.0f, ship->GetVelocityX(), 1e-6f);
    EXPECT_FLOAT_EQ(0.75f, ship->GetVelocityY());
}

TEST_F(ShipModelTest, TurnsAndBanksTowardTheOneKeyHeld)
{
    const struct
    {
        bool left;
        bool right;
        float angle;
        float rollTarget;
    } cases[] = {{false, false, 10, 0},
                 {true, true, 10, 0},
                 {true, false, 11.5f, -50},
                 {false, true, 8.5f, 50}};
    for (const auto& test : cases)
    {
        SCOPED_TRACE(std::to_string(test.left) + " " + std::to_string(test.right));
        ship->SetAngle(10);
        ship->controls.turnLeft = test.left;
        ship->controls.turnRight = test.right;
        ship->Update();
        EXPECT_FLOAT_EQ(test.angle, ship->GetAngle());
        EXPECT_EQ(test.rollTarget, ship->GetRollSpring().target);
    }
}

TEST_F(ShipModelTest, TheSpringsLeanTheDrawnShipIntoTurnsAndThrust)
{
    ship->controls.turnLeft = true;
    ship->controls.thrust = true;
    for (int step = 0; step < 10; ++step)
        ship->Update();
    EXPECT_LT(ship->GetRollSpring().current, 0.0f);
    EXPECT_LT(ship->GetPitchSpring().current, 0.0f);
    // Rolled about x by a negative angle: the ship's y axis dips below the plane.
    EXPECT_LT(ship->GetTransform()[6], 0.0f);
}

TEST_F(ShipModelTest, TheExhaustLeavesWhereTheShipStoodBeforeTheStep)
{
    ASSERT_TRUE(ship->GetExhaust());
    ASSERT_EQ(1u, ship->GetExhaust()->GetEngines().size());
    const ParticleEmitter& emitter = *ship->GetExhaust()->GetEngines()[0].emitter;
    ship->SetPosition(10, 0);
    ship->Update();
    EXPECT_TRUE(emitter.GetLive().empty());

    ship->controls.thrust = true;
    ship->Update();
    ASSERT_EQ(1u, emitter.GetLive().size());
    EXPECT_EQ("(9, 0, 0)", VectorText(emitter.GetLive().front().position));
    // The engine's speed less half of the ship's new velocity.
    EXPECT_EQ("(-4.375, 0, 0)", VectorText(emitter.GetLive().front().velocity));
    EXPECT_FLOAT_EQ(10 + 0.75f * 0.015f, ship->GetX());
}

TEST_F(ShipModelTest, AHitHalvesTheCrew)
{
    const struct
    {
        int crew;
        int left;
        bool alive;
    } cases[] = {{7, 3, true}, {2, 1, true}, {1, 0, false}};
    for (const auto& test : cases)
    {
        data->crew = test.crew;
        ShipModel hit(*data, store);
        Probe planet(Mesh("Planet"), -1, 3);
        hit.OnHit(planet);
        EXPECT_EQ(test.left, hit.GetHitPoints()) << test.crew;
        EXPECT_EQ(test.alive, hit.IsAlive()) << test.crew;
    }
}

TEST_F(ShipModelTest, IsBuiltFromItsData)
{
    EXPECT_EQ(store.GetModel("Hull", true), ship->GetMesh());
    EXPECT_EQ(7, ship->GetHitPoints());
    EXPECT_EQ(1.0f, ship->GetMass());
    EXPECT_EQ(1.0f, ship->GetRadius());
    data->resource = "Missing";
    EXPECT_EQ("Missing resource: 'Missing'", ErrorOf([this] { ShipModel missing(*data, store); }));
}

} // namespace
