#include "Game/Objects/EntityModel.h"

#include "Support/Capture.h"
#include "WorldFixture.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{

class EntityModelTest : public WorldTest
{
protected:
    Probe Body(float mass = 1.0f, float radius = 1.0f)
    {
        return Probe(Mesh("Asteroid"), mass, radius);
    }
};

TEST_F(EntityModelTest, PositionsWrapAtTheEdgesAndTheDrawnMotionGoesOn)
{
    const struct
    {
        float x;
        float vx;
        float wrapped;
        // The translation the step starts from, as the views see it.
        float previous;
    } cases[] = {
        {200.0f, 0, 200.0f, 200.0f},
        {-200.0f, 0, -200.0f, -200.0f},
        {200.5f, 0, -199.5f, -199.5f},
        // 200.05 is drawn moving on from -200.1, not sweeping back across.
        {199.9f, 10, -199.95f, -200.1f},
        {-650.0f, 0, 150.0f, 150.0f},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.x);
        Probe body = Body();
        body.SetPosition(test.x, test.x);
        body.SetVelocity(test.vx, test.vx);
        body.Update();
        EXPECT_FLOAT_EQ(test.wrapped, body.GetX());
        EXPECT_FLOAT_EQ(test.wrapped, body.GetY());
        EXPECT_FLOAT_EQ(test.previous, body.GetPreviousTransform()[12]);
        EXPECT_FLOAT_EQ(test.previous, body.GetPreviousTransform()[13]);
        EXPECT_FLOAT_EQ(test.wrapped, body.GetTransform()[12]);
    }
}

TEST_F(EntityModelTest, HugeAndInfiniteValuesWrapInOneGo)
{
    Probe body = Body();
    body.Place(1e30f, -3e37f);
    body.SetAngle(-1e33f);
    body.Update();
    EXPECT_LE(std::fabs(body.GetX()), 200.0f);
    EXPECT_LE(std::fabs(body.GetY()), 200.0f);
    EXPECT_GE(body.GetAngle(), 0.0f);
    EXPECT_LE(body.GetAngle(), 360.0f);

    body.Place(INFINITY, 0);
    body.SetAngle(-INFINITY);
    body.Update();
    EXPECT_TRUE(std::isnan(body.GetX()));
    EXPECT_TRUE(std::isnan(body.GetAngle()));
}

TEST_F(EntityModelTest, HeadingsWrapIntoAWholeTurnAndSnapToEvenDegrees)
{
    const struct
    {
        float angle;
        float wrapped;
    } wraps[] = {{360.0f, 360.0f}, {0.0f, 0.0f}, {-0.5f, 359.5f}, {725.0f, 5.0f}};
    for (const auto& test : wraps)
    {
        Probe body = Body();
        body.SetAngle(test.angle);
        body.Update();
        EXPECT_EQ(test.wrapped, body.GetAngle()) << test.angle;
    }

    const struct
    {
        float angle;
        float shown;
    } snaps[] = {{359.9f, 358.0f}, {1.99f, 0.0f}, {3.0f, 2.0f}, {-3.0f, -2.0f}, {1e30f, 1e30f}};
    for (const auto& test : snaps)
    {
        Probe body = Body();
        body.SetAngle(test.angle);
        EXPECT_EQ(test.shown, body.GetDisplayAngle()) << test.angle;
    }
}

TEST_F(EntityModelTest, PlacingABodyDrawsItThereWithoutASweep)
{
    Probe body = Body();
    body.SetPosition(10, 20);
    body.SetAngle(91);
    for (const float* matrix : {body.GetTransform().Data(), body.GetPreviousTransform().Data()})
    {
        EXPECT_EQ(10.0f, matrix[12]);
        EXPECT_EQ(20.0f, matrix[13]);
        // Drawn at 90 degrees: +x turns into +y.
        EXPECT_NEAR(0.0f, matrix[0], 1e-6f);
        EXPECT_NEAR(1.0f, matrix[1], 1e-6f);
    }
    body.SetVelocity(100, 0);
    body.Advance(0.5f);
    EXPECT_FLOAT_EQ(10.75f, body.GetX());
    EXPECT_FLOAT_EQ(10.75f, body.GetTransform()[12]);
}

TEST_F(EntityModelTest, TheSweptTestFindsContactsWithinTheStep)
{
    // Radii 1 and 1; a speed of 100 covers 1.5 units in a step of 15 ms.
    const struct
    {
        const char* what;
        float x;
        float y;
        float vx;
        bool hits;
    } cases[] = {
        {"overlapping at rest", 1.5f, 0, 0, true},
        {"overlapping and parting", 1.5f, 0, 100, true},
        {"touching at rest", 2, 0, 0, false},
        {"touching exactly while approaching", 2, 0, -100, false},
        {"meeting within the step", 2.5f, 0, -100, true},
        {"too far to meet within the step", 5, 0, -100, false},
        {"parting from close by", 2.1f, 0, 100, false},
        {"passing by at a distance", 2, 3, -100, false},
        {"overlapping by the end of the step", 3.4f, 0, -100, true},
        {"touching just at the end of the step", 3.5f, 0, -100, false},
    };
    for (const auto& test : cases)
    {
        Probe body = Body();
        Probe other = Body();
        other.Place(test.x, test.y, test.vx, 0);
        EXPECT_EQ(test.hits, body.WillCollide(other)) << test.what;
        EXPECT_EQ(test.hits, other.WillCollide(body)) << test.what;
    }
}

TEST_F(EntityModelTest, EqualMassesSwapTheirVelocitiesAndTouch)
{
    Probe first = Body(5, 1.3f);
    Probe second = Body(5, 1.3f);
    first.Place(0, 0, 10, 0);
    second.Place(2.5f, 0, -10, 0);
    // The later body of the world calls: it is put at touching distance first.
    second.Collide(first);
    EXPECT_FLOAT_EQ(-10.0f, first.GetVelocityX());
    EXPECT_FLOAT_EQ(10.0f, second.GetVelocityX());
    EXPECT_FLOAT_EQ(2.6f, second.GetX());
    EXPECT_FLOAT_EQ(0.0f, first.GetX());
    EXPECT_EQ(0, first.hits + second.hits);
}

TEST_F(EntityModelTest, MassesDecideWhoIsPushed)
{
    const struct
    {
        const char* what;
        float mass;
        float otherMass;
        // The calling body's velocity and place afterwards; the other's speed.
        float vx;
        float x;
        float otherVx;
    } cases[] = {
        // 2 x 1 x 3 / 4 of the velocity difference 10.
        {"unequal masses", 1, 3, -5, -2, 5},
        {"a body of mass 0", 1, 0, 10, -1.5f, 0},
        {"against mass 0", 0, 1, 10, -1.5f, 0},
        // Against an immovable body the whole difference: the body stops.
        {"an immovable body", 1, -1, 0, -2, 0},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.what);
        Probe body = Body(test.mass);
        Probe other = Body(test.otherMass);
        body.Place(-1.5f, 0, 10, 0);
        body.Collide(other);
        EXPECT_FLOAT_EQ(test.vx, body.GetVelocityX());
        EXPECT_FLOAT_EQ(test.x, body.GetX());
        EXPECT_FLOAT_EQ(test.otherVx, other.GetVelocityX());
        EXPECT_EQ(0.0f, other.GetX());
    }
}

TEST_F(EntityModelTest, DeadBodiesMeetNothing)
{
    Probe body = Body();
    Probe other = Body();
    body.Place(1, 0, 10, 0);
    body.Kill();
    body.Collide(other);
    other.Collide(body);
    EXPECT_EQ(10.0f, body.GetVelocityX());
    EXPECT_EQ(0.0f, other.GetVelocityX());
}

TEST_F(EntityModelTest, DamageKillsBelowOneHitPointAndTheBodyLeavesTheWorldOnce)
{
    Probe* const body = new Probe(Mesh("Asteroid"), 1, 1);
    ObjectFactoryInterface::AddPending(new ControllerInterface(body, nullptr));
    factory->Flush();
    ASSERT_EQ(1u, world.size());

    body->Damage(-3);
    EXPECT_EQ(13, body->GetHitPoints());
    body->Damage(12);
    EXPECT_TRUE(body->IsAlive());
    body->Damage(1);
    EXPECT_FALSE(body->IsAlive());
    body->Kill();
    body->Damage(2147483647);
    body->Damage(2147483647);
    EXPECT_EQ(-2147483647 - 1, body->GetHitPoints());
    // Still in the world until the end of the step.
    EXPECT_EQ(1u, world.size());
    factory->Flush();
    EXPECT_TRUE(world.empty());
    factory->DeleteDead();
}

TEST_F(EntityModelTest, AHandleReadsNullOnceItsBodyIsDeleted)
{
    auto body = std::make_unique<Probe>(Mesh("Asteroid"), 1, 1);
    const EntityHandle handle = body->GetHandle();
    const EntityHandle copy = handle;
    EXPECT_EQ(body.get(), handle.Get());
    body.reset();
    EXPECT_EQ(nullptr, handle.Get());
    EXPECT_EQ(nullptr, copy.Get());
    EXPECT_EQ(nullptr, EntityHandle().Get());
}

TEST_F(EntityModelTest, AModelNeedsAMeshOfTheModelKind)
{
    store.AddExisting("Flame", nullptr, new IdleTexture("Flame"));
    EXPECT_EQ("Missing resource: ''", ErrorOf([this] { Object3DModel::RequireMesh(store, ""); }));
    EXPECT_EQ("Missing resource: 'Flame'",
              ErrorOf([this] { Object3DModel::RequireMesh(store, "Flame"); }));
    EXPECT_EQ("Missing resource: 'Rock'",
              ErrorOf([this] { Object3DModel::RequireMesh(store, "Rock"); }));
    EXPECT_EQ("A world object needs a 3D model", ErrorOf([] { Object3DModel model(nullptr); }));
}

} // namespace
