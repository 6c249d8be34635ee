#include "Game/Objects/PlanetModel.h"

#include "Engine/MathUtil.h"
#include "Game/Objects/ObjectKinds.h"
#include "Game/Objects/ShipModel.h"
#include "WorldFixture.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{

// The battle's planet, radius 3 at the origin, in the world with the bodies
// that the tests add.
class PlanetModelTest : public WorldTest
{
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        planet = dynamic_cast<PlanetModel*>(ObjectFactoryInterface::CreateModel(ModelKind::Planet));
        world.push_back(new ControllerInterface(planet, nullptr));
    }

    template <class Model>
    Model* Add(Model* model)
    {
        world.push_back(new ControllerInterface(model, nullptr));
        return model;
    }

    Probe* AddBody(float x, float y, float mass = 1, float radius = 1)
    {
        Probe* const body = Add(new Probe(Mesh("Asteroid"), mass, radius));
        body->Place(x, y);
        return body;
    }

    PlanetModel* planet = nullptr;
    const std::unique_ptr<Melee::ShipModel::Data> data = ShipData();
};

TEST_F(PlanetModelTest, PullsBodiesWithinAHundredUnitsEachStep)
{
    const struct
    {
        const char* what;
        float x;
        float y;
        float mass;
        float radius;
        float pullX;
        float pullY;
    } cases[] = {
        {"at distance 10", 10, 0, 1, 1, -0.75f, 0},
        {"at distance 100", 0, -100, 5, 1, 0, 0.0075f},
        {"at distance 100.5", 100.5f, 0, 1, 1, 0, 0},
        {"at 45 degrees", 6, 8, 1, 1, -0.45f, -0.6f},
        {"touching", 4.2f, 0, 1, 1.3f, 0, 0},
        {"of mass 0", 10, 0, 0, 1, 0, 0},
        {"at the centre", 0, 0, 1, 0, 0, 0},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.what);
        Probe* const body = AddBody(test.x, test.y, test.mass, test.radius);
        planet->Update();
        EXPECT_NEAR(test.pullX, body->GetVelocityX(), 1e-7f);
        EXPECT_NEAR(test.pullY, body->GetVelocityY(), 1e-7f);
        delete world.back();
        world.pop_back();
    }
}

TEST_F(PlanetModelTest, SpinsInPlaceAtItsRadius)
{
    planet->SetPosition(20, 30);
    planet->SetVelocity(5, 5);
    planet->Update();
    EXPECT_EQ(20.0f, planet->GetX());
    EXPECT_EQ(30.0f, planet->GetY());
    EXPECT_EQ(0.0f, planet->GetVelocityX());
    EXPECT_FLOAT_EQ(0.015f * 4, planet->GetSpinAngle());
    const Math::Matrix& transform = planet->GetTransform();
    EXPECT_EQ(20.0f, transform[12]);
    EXPECT_EQ(30.0f, transform[13]);
    EXPECT_FLOAT_EQ(3.0f, std::sqrt(transform[0] * transform[0] + transform[1] * transform[1] +
                                    transform[2] * transform[2]));
    // Turned over: the mesh's z axis points down, tilted by 15 degrees.
    EXPECT_FLOAT_EQ(-3 * std::cos(15 * Math::Pi<float> / 180), transform[10]);
}

TEST_F(PlanetModelTest, AShipNearbyMayFlyFasterForOneStep)
{
    ShipModel* const near = Add(new ShipModel(*data, store));
    ShipModel* const far = Add(new ShipModel(*data, store));
    near->SetPosition(34.9f, 0);
    far->SetPosition(0, 35);
    planet->Update();
    EXPECT_TRUE(near->nearPlanet);
    EXPECT_FALSE(far->nearPlanet);
    near->Update();
    EXPECT_FALSE(near->nearPlanet);
}

TEST_F(PlanetModelTest, AShipFlyingIntoThePlanetStopsAndLosesHalfItsCrew)
{
    data->crew = 3;
    ShipModel* const ship = Add(new ShipModel(*data, store));
    ship->SetPosition(4.5f, 0);
    ship->SetVelocity(-50, 0);
    // The ship is later in the world: it calls.
    ship->Collide(*planet);
    EXPECT_EQ(0.0f, ship->GetVelocityX());
    EXPECT_FLOAT_EQ(4.0f, ship->GetX());
    EXPECT_EQ(1, ship->GetHitPoints());
    EXPECT_EQ(0.0f, planet->GetX());

    ship->SetPosition(3.9f, 0);
    ship->Collide(*planet);
    EXPECT_EQ(0, ship->GetHitPoints());
    EXPECT_FALSE(ship->IsAlive());
    factory->Flush();
    EXPECT_EQ(1u, world.size());
    factory->DeleteDead();
}

TEST_F(PlanetModelTest, BouncesBodiesOffItsSurfaceAndIsNeverHurt)
{
    Probe* const body = AddBody(0, 4);
    body->SetVelocity(3, -4);
    planet->OnCollision(*body, Math::Vector(100, 100, 0), 1);
    EXPECT_EQ(1, body->hits);
    EXPECT_FLOAT_EQ(3.0f, body->GetVelocityX());
    EXPECT_FLOAT_EQ(4.0f, body->GetVelocityY());

    // A body at the very centre has no surface to bounce off.
    body->Place(0, 0, 3, -4);
    planet->OnCollision(*body, Math::Vector::Zero, 1);
    EXPECT_EQ(3.0f, body->GetVelocityX());
    EXPECT_EQ(-4.0f, body->GetVelocityY());

    planet->Damage(10);
    planet->OnHit(*body);
    planet->Kill();
    EXPECT_TRUE(planet->IsAlive());
    EXPECT_EQ(0, planet->GetHitPoints());
    factory->Flush();
    EXPECT_EQ(2u, world.size());
}

} // namespace
