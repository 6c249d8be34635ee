#pragma once

class DataStore;
class ObjectFactory;
class SolarPlanetModel;

// Places the bodies of the solar system through the current object factory,
// from the platform's random sequence: the planets of the system on circular
// orbits around the centre, and, for a planet's close view, the planet
// enlarged at the centre with its moons around it. A seed gives the same
// bodies in the same order every time.
class SolarSystemGenerator
{
public:
    // Generates the planets of the seed at once.
    SolarSystemGenerator(DataStore* store, ObjectFactory* factory, int seed);

    // Three to eight planets.
    void GeneratePlanets(int seed);
    // The planet, four times as large and standing still, and none, one, four
    // or five moons, from the planet's seed.
    void GenerateMoons(const SolarPlanetModel& planet);

private:
    // The bodies are made through the factory's static interface, from the
    // state's store; these are kept for the kinds of bodies to come.
    [[maybe_unused]] DataStore* const store;
    [[maybe_unused]] ObjectFactory* const factory;
};
