#include "Graphics/ParticleEmitter.h"

#include "Graphics/Camera.h"
#include "Graphics/Texture.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{

using Math::Vector;
using Particle = ParticleEmitter::Particle;

std::vector<const Particle*> Records(const std::list<Particle>& particles)
{
    std::vector<const Particle*> records;
    for (const Particle& particle : particles)
        records.push_back(&particle);
    return records;
}

void ExpectNear(const Vector& expected, const Vector& actual)
{
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(expected[i], actual[i], 1e-5f) << "component " << i;
}

} // namespace

TEST(ParticleEmitterTest, EmittingTakesTheLastFreeRecordAndThenNewOnes)
{
    ParticleEmitter emitter(nullptr, 2, 0.015f);
    const std::vector<const Particle*> pool = Records(emitter.GetFree());
    ASSERT_EQ(2u, pool.size());

    emitter.Emit(Vector(1, 2, 3), Vector(4, 5, 6), Vector(0, 0, -10));
    emitter.Emit(Vector(), Vector(), Vector());
    emitter.Emit(Vector(), Vector(), Vector());
    const std::vector<const Particle*> live = Records(emitter.GetLive());
    ASSERT_EQ(3u, live.size());
    EXPECT_EQ(pool[1], live[0]);
    EXPECT_EQ(pool[0], live[1]);
    EXPECT_TRUE(emitter.GetFree().empty());

    const Particle& first = emitter.GetLive().front();
    EXPECT_EQ(1.0f, first.life);
    ExpectNear(Vector(1, 2, 3), first.position);
    ExpectNear(Vector(4, 5, 6), first.velocity);
    ExpectNear(Vector(0, 0, -0.15f), first.velocityStep);

    // Every record ever made comes back to the pool.
    for (int i = 0; i < 100; ++i)
        emitter.Update();
    EXPECT_TRUE(emitter.GetLive().empty());
    EXPECT_EQ(3u, emitter.GetFree().size());
}

TEST(ParticleEmitterTest, AParticleMovesThenSpeedsUpAndDiesAtTheEndOfItsLife)
{
    ParticleEmitter emitter(nullptr, 1, 0.015f);
    emitter.life = 0.3f;
    emitter.Emit(Vector(0, 0, 0), Vector(10, 0, 0), Vector(0, 100, 0));
    emitter.Update();
    const Particle& particle = emitter.GetLive().front();
    ExpectNear(Vector(0.15f, 0, 0), particle.position);
    ExpectNear(Vector(10, 1.5f, 0), particle.velocity);
    emitter.Update();
    ExpectNear(Vector(0.3f, 0.0225f, 0), particle.position);

    for (int update = 2; update < 19; ++update)
        emitter.Update();
    ASSERT_EQ(1u, emitter.GetLive().size()) << "alive after 19 updates";
    EXPECT_NEAR(0.015f, emitter.GetLive().front().life, 1e-5f);
    emitter.Update();
    emitter.Update();
    EXPECT_TRUE(emitter.GetLive().empty()) << "dead after 21 updates";
}

TEST(ParticleEmitterTest, TheParticleRetiredLastIsReusedFirst)
{
    ParticleEmitter emitter(nullptr, 0, 0.01f);
    emitter.life = 0.025f;
    emitter.Emit(Vector(), Vector(), Vector());
    emitter.life = 0.005f;
    emitter.Emit(Vector(), Vector(), Vector());
    const std::vector<const Particle*> made = Records(emitter.GetLive());

    emitter.Update();
    EXPECT_EQ(std::vector<const Particle*>{made[1]}, Records(emitter.GetFree()));
    emitter.Update();
    emitter.Update();
    EXPECT_EQ((std::vector<const Particle*>{made[1], made[0]}), Records(emitter.GetFree()));

    emitter.Emit(Vector(), Vector(), Vector());
    emitter.Emit(Vector(), Vector(), Vector());
    EXPECT_EQ((std::vector<const Particle*>{made[0], made[1]}), Records(emitter.GetLive()));
}

TEST(ParticleEmitterTest, EachParticleIsAQuadFacingTheCameraThatFades)
{
    CameraRight.Set(0, 0, 1);
    CameraUp.Set(0, 1, 0);
    ParticleEmitter emitter(nullptr, 1, 0.015f);
    emitter.life = 0.3f;
    emitter.width = 2;
    emitter.height = 4;
    emitter.Emit(Vector(10, 0, 0), Vector(), Vector());
    emitter.BuildQuads();

    const VertexArray& quads = emitter.GetVertexArray();
    ASSERT_EQ(4, quads.GetCount());
    const float positions[4][3] = {{10, 2, 1}, {10, 2, -1}, {10, -2, -1}, {10, -2, 1}};
    const float texCoords[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    for (int v = 0; v < 4; ++v)
    {
        SCOPED_TRACE(v);
        for (int i = 0; i < 3; ++i)
            EXPECT_FLOAT_EQ(positions[v][i], quads.GetVertices()[v * 3 + i]);
        EXPECT_EQ(texCoords[v][0], quads.GetTexCoords()[v * 2]);
        EXPECT_EQ(texCoords[v][1], quads.GetTexCoords()[v * 2 + 1]);
        EXPECT_EQ(1.0f, quads.GetColors()[v * 4]);
        EXPECT_EQ(1.0f, quads.GetColors()[v * 4 + 3]);
    }

    for (int update = 0; update < 19; ++update)
        emitter.Update();
    emitter.BuildQuads();
    ASSERT_EQ(4, quads.GetCount());
    EXPECT_NEAR(0.05f, quads.GetColors()[3], 1e-4f);
}

TEST(ParticleEmitterTest, NothingIsDrawnWithoutAReadyTexture)
{
    const Texture loading("Data/Exhaust.png");
    for (const Texture* texture : {static_cast<const Texture*>(nullptr), &loading})
    {
        ParticleEmitter emitter(texture, 1, 0.015f);
        emitter.Emit(Vector(), Vector(), Vector());
        emitter.Draw();
        EXPECT_EQ(0, emitter.GetVertexArray().GetCount());
    }
}
