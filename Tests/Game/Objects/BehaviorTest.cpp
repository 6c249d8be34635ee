#include "Engine/MathUtil.h"
#include "Engine/Matrix.h"
#include "Game/Objects/HomingBehavior.h"
#include "Game/Objects/ThrustBehavior.h"
#include "Support/VectorText.h"
#include "WorldFixture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace
{

class HomingBehaviorTest : public WorldTest
{
protected:
    std::unique_ptr<Probe> Body(float x, float y, float angle = 0)
    {
        auto body = std::make_unique<Probe>(Mesh("Asteroid"), 0, 1);
        body->Place(x, y);
        body->SetAngle(angle);
        return body;
    }
};

TEST_F(HomingBehaviorTest, TurnsTheShortWayAcrossTheArenaEdge)
{
    const struct
    {
        const char* what;
        float x;
        float angle;
        float targetX;
        float targetY;
        float turned;
    } cases[] = {
        // The target is 20 units away across the edge, toward +x.
        {"across the edge", 190, 90, -190, 0, 87},
        {"within the arena", 190, 90, 150, 0, 93},
        {"across the edge the other way", -190, 90, 190, 0, 93},
        // One degree off with a step of 3: it snaps instead of overshooting.
        {"snapping", 0, 89, 0, 10, 90},
        {"straight on", 0, 90, 0, 10, 90},
        {"up through 360", 0, 355, 10, 0, 358},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.what);
        auto shot = Body(test.x, 0, test.angle);
        auto target = Body(test.targetX, test.targetY);
        HomingBehavior homing(shot.get(), target.get(), 3, 50);
        homing.Update();
        EXPECT_NEAR(test.turned, std::fmod(shot->GetAngle() + 360, 360), 1e-3f);
        // Its speed along its snapped heading.
        const float heading = shot->GetDisplayAngle() * Math::Pi<float> / 180;
        EXPECT_NEAR(50 * std::cos(heading), shot->GetVelocityX(), 1e-4f);
        EXPECT_NEAR(50 * std::sin(heading), shot->GetVelocityY(), 1e-4f);
    }
}

TEST_F(HomingBehaviorTest, TurningLeavesTheDrawnStepToTheNextUpdate)
{
    auto shot = Body(0, 0, 90);
    auto target = Body(10, 0);
    HomingBehavior homing(shot.get(), target.get(), 3, 50);
    const Math::Matrix before = shot->GetTransform();
    homing.Update();
    EXPECT_EQ(87.0f, shot->GetAngle());
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(before[i], shot->GetTransform()[i]) << i;
}

TEST_F(HomingBehaviorTest, WithoutATargetTheShotFliesStraightOn)
{
    auto shot = Body(0, 0, 90);
    shot->SetVelocity(0, 20);
    HomingBehavior none(shot.get(), nullptr, 3, 50);
    none.Update();
    EXPECT_EQ(90.0f, shot->GetAngle());
    EXPECT_EQ(20.0f, shot->GetVelocityY());

    auto target = Body(10, 0);
    HomingBehavior homing(shot.get(), target.get(), 3, 50);
    EXPECT_TRUE(homing.IsEnabled());
    EXPECT_EQ(HomingBehavior::TypeId, homing.GetTypeId());
    target.reset();
    EXPECT_EQ(nullptr, homing.GetTarget());
    homing.Update();
    EXPECT_EQ(90.0f, shot->GetAngle());
    EXPECT_EQ(20.0f, shot->GetVelocityY());
}

using ThrustBehaviorTest = WorldTest;

ThrustList Streams(std::initializer_list<float> lives)
{
    ThrustList streams;
    for (const float life : lives)
    {
        auto stream = std::make_unique<ThrustData>(nullptr);
        stream->life = life;
        stream->size = 0.5f;
        streams.push_back(std::move(stream));
    }
    return streams;
}

TEST_F(ThrustBehaviorTest, AnEngineHasRoomForItsParticlesLifeInStepsAndFive)
{
    const ThrustList streams = Streams({1.0f, 0.01f, 0.3f, -2.0f, 1e30f});
    const ThrustBehavior thrust(&streams);
    const std::size_t rooms[] = {66 + 5, 0 + 5, 20 + 5, 5, 4096 + 5};
    ASSERT_EQ(std::size(rooms), thrust.GetEngines().size());
    for (std::size_t i = 0; i < std::size(rooms); ++i)
    {
        const ParticleEmitter& emitter = *thrust.GetEngines()[i].emitter;
        EXPECT_EQ(rooms[i], emitter.GetFree().size()) << i;
        EXPECT_EQ(streams[i]->life, emitter.life);
        EXPECT_EQ(0.5f, emitter.width);
        EXPECT_EQ(0.5f, emitter.height);
    }
    EXPECT_TRUE(thrust.IsEnabled());
    EXPECT_EQ(ThrustBehavior::TypeId, thrust.GetTypeId());
    EXPECT_TRUE(ThrustBehavior(nullptr).GetEngines().empty());
}

TEST_F(ThrustBehaviorTest, EmitsFromEachEngineInTheCarriersFrame)
{
    ThrustList streams = Streams({1.0f, 1.0f});
    streams[0]->position.Set(-1, 0, 0.5f);
    streams[0]->speed.Set(-4, 0, 0);
    streams[0]->speedFactor = 0.5f;
    streams[0]->accel.Set(0, 2, 0);
    streams[0]->accelFactor = 1;
    ThrustBehavior thrust(&streams);
    // The carrier at (10, 20), turned to face +y, flying at (0, 6).
    Math::Matrix carrier = Math::Matrix::Translate(10, 20, 0);
    carrier[0] = 0;
    carrier[1] = 1;
    carrier[4] = -1;
    carrier[5] = 0;
    thrust.Emit(carrier, Math::Vector(0, 6, 0));

    const ParticleEmitter::Particle& particle = thrust.GetEngines()[0].emitter->GetLive().front();
    EXPECT_EQ("(10, 19, 0.5)", VectorText(particle.position));
    EXPECT_EQ("(0, -7, 0)", VectorText(particle.velocity));
    // (-2, 0) less the carrier's velocity, times the step.
    EXPECT_EQ("(-0.03, -0.09, 0)", VectorText(particle.velocityStep));
    EXPECT_EQ(1u, thrust.GetEngines()[1].emitter->GetLive().size());

    thrust.Update();
    EXPECT_EQ("(10, 18.895, 0.5)", VectorText(particle.position));
}

} // namespace
