#include "Game/Solar/SolarSystemGenerator.h"

#include "Engine/MathUtil.h"
#include "Game/Objects/WorldFixture.h"
#include "Game/Solar/SolarPlanetModel.h"

#include <cmath>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace
{

class SolarSystemGeneratorTest : public WorldTest
{
protected:
    // The bodies made since the last call, in the order they were made.
    std::vector<SolarPlanetModel*> Joined()
    {
        const std::size_t before = world.size();
        std::size_t size;
        do
        {
            size = world.size();
            factory->Flush();
        } while (world.size() != size);
        std::vector<SolarPlanetModel*> bodies;
        auto object = world.begin();
        std::advance(object, static_cast<std::ptrdiff_t>(before));
        for (; object != world.end(); ++object)
            bodies.push_back(&dynamic_cast<SolarPlanetModel&>(*(*object)->GetModel()));
        return bodies;
    }

    std::vector<SolarPlanetModel*> Planets(int seed)
    {
        SolarSystemGenerator generator(&store, factory.get(), seed);
        return Joined();
    }

    std::vector<SolarPlanetModel*> Moons(const SolarPlanetModel& planet)
    {
        SolarSystemGenerator generator(&store, factory.get(), 1);
        Joined();
        generator.GenerateMoons(planet);
        return Joined();
    }

    // The bodies after the centre never touch the one inside them.
    static void ExpectApart(const std::vector<SolarPlanetModel*>& bodies, std::size_t first)
    {
        for (std::size_t i = first + 1; i < bodies.size(); ++i)
        {
            const SolarPlanetModel& inner = *bodies[i - 1];
            const SolarPlanetModel& outer = *bodies[i];
            EXPECT_GE(outer.orbitRadius - inner.orbitRadius + 1e-4f,
                      inner.GetRadius() + outer.GetRadius() + 1)
                << "bodies " << i - 1 << " and " << i;
        }
    }
};

TEST_F(SolarSystemGeneratorTest, TheGamesSystemIsAlwaysTheSame)
{
    const std::vector<SolarPlanetModel*> planets = Planets(1343);
    ASSERT_EQ(5u, planets.size());
    const SolarPlanetModel& first = *planets[0];
    EXPECT_EQ(24909, first.seed);
    EXPECT_FLOAT_EQ(1.44f, first.GetRadius());
    EXPECT_FLOAT_EQ(104.0f, first.GetTilt());
    EXPECT_FLOAT_EQ(7.44f, first.orbitRadius);
    EXPECT_EQ(1580, planets[1]->seed);
    EXPECT_NEAR(11.7727f, planets[1]->orbitRadius, 1e-4f);
    EXPECT_EQ(1u, Moons(first).size() - 1);
    EXPECT_EQ(4u, Moons(*planets[1]).size() - 1);

    const std::vector<SolarPlanetModel*> again = Planets(1343);
    ASSERT_EQ(planets.size(), again.size());
    for (std::size_t i = 0; i < planets.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(planets[i]->seed, again[i]->seed);
        EXPECT_EQ(planets[i]->GetRadius(), again[i]->GetRadius());
        EXPECT_EQ(planets[i]->GetSpinStep(), again[i]->GetSpinStep());
        EXPECT_EQ(planets[i]->orbitRadius, again[i]->orbitRadius);
        EXPECT_EQ(planets[i]->orbitAngle, again[i]->orbitAngle);
        EXPECT_EQ(planets[i]->orbitSpeed, again[i]->orbitSpeed);
    }
}

TEST_F(SolarSystemGeneratorTest, PlanetsLieOnOrbitsThatNeverTouch)
{
    for (int seed = 1; seed <= 60; ++seed)
    {
        SCOPED_TRACE(seed);
        const std::vector<SolarPlanetModel*> planets = Planets(seed);
        ASSERT_GE(planets.size(), 3u);
        ASSERT_LE(planets.size(), 8u);
        EXPECT_GE(planets[0]->orbitRadius, 6.5f);
        EXPECT_LT(planets[0]->orbitRadius, 8.0f);
        for (const SolarPlanetModel* planet : planets)
        {
            EXPECT_GE(planet->GetRadius(), 0.5f);
            EXPECT_LT(planet->GetRadius(), 2.0f);
            EXPECT_LE(std::fabs(planet->GetSpinStep()), 0.2f);
            EXPECT_LT(planet->orbitSpeed, 0.0001f);
        }
        ExpectApart(planets, 0);
    }
}

TEST_F(SolarSystemGeneratorTest, AMoonSystemIsThePlanetsOwnAndNeverTouchesIt)
{
    const std::vector<SolarPlanetModel*> planets = Planets(1343);
    std::set<std::size_t> counts;
    // Planets of other seeds too, for every count there is.
    std::vector<SolarPlanetModel*> all = planets;
    for (int seed = 2; seed <= 20; ++seed)
    {
        const std::vector<SolarPlanetModel*> more = Planets(seed);
        all.insert(all.end(), more.begin(), more.end());
    }
    for (const SolarPlanetModel* planet : all)
    {
        SCOPED_TRACE(planet->seed);
        const std::vector<SolarPlanetModel*> bodies = Moons(*planet);
        const SolarPlanetModel& centre = *bodies.at(0);
        EXPECT_EQ(planet->seed, centre.seed);
        EXPECT_FLOAT_EQ(planet->GetRadius() * 4, centre.GetRadius());
        EXPECT_EQ(planet->GetSpinStep(), centre.GetSpinStep());
        EXPECT_EQ(planet->GetTilt(), centre.GetTilt());
        EXPECT_EQ(0.0f, centre.orbitRadius);
        EXPECT_EQ(0.0f, centre.orbitSpeed);
        const std::size_t moons = bodies.size() - 1;
        counts.insert(moons);
        if (moons > 0)
        {
            EXPECT_GE(bodies[1]->orbitRadius, centre.GetRadius() + 2.5f);
        }
        ExpectApart(bodies, 1);
        // Entered again, the same moons.
        const std::vector<SolarPlanetModel*> again = Moons(*planet);
        ASSERT_EQ(bodies.size(), again.size());
        for (std::size_t i = 1; i < bodies.size(); ++i)
        {
            EXPECT_EQ(bodies[i]->seed, again[i]->seed);
            EXPECT_EQ(bodies[i]->orbitRadius, again[i]->orbitRadius);
        }
    }
    EXPECT_EQ((std::set<std::size_t>{0, 1, 4, 5}), counts);
}

TEST_F(SolarSystemGeneratorTest, ABodyMovesAlongItsOrbitAndSpins)
{
    SolarPlanetModel body(Mesh("Planet"));
    body.orbitRadius = 10;
    body.orbitAngle = static_cast<float>(Math::Pi<double> / 2);
    body.orbitSpeed = 0.5f;
    body.Shape(1.5f, 2.0f, 30.0f);
    body.Update();
    // The place comes from the angle before it advances.
    EXPECT_NEAR(0.0f, body.GetX(), 1e-5f);
    EXPECT_NEAR(10.0f, body.GetY(), 1e-5f);
    EXPECT_FLOAT_EQ(static_cast<float>(Math::Pi<double> / 2) + 0.5f, body.orbitAngle);
    EXPECT_FLOAT_EQ(2.0f, body.GetSpinAngle());
    body.orbitSpeed = 0;
    body.Update();
    body.Update();
    EXPECT_NEAR(10 * std::cos(Math::Pi<double> / 2 + 0.5), body.GetX(), 1e-5f);
    EXPECT_FLOAT_EQ(6.0f, body.GetSpinAngle());
    EXPECT_EQ(1.5f, body.GetRadius());
    EXPECT_GT(0.0f, body.GetMass());
}

} // namespace
