#include "Game/Solar/SolarSystemGenerator.h"

#include "Engine/ControllerInterface.h"
#include "Engine/MathUtil.h"
#include "Engine/ObjectFactoryInterface.h"
#include "Game/Objects/ObjectKinds.h"
#include "Game/Solar/SolarPlanetModel.h"
#include "Platform/Random.h"

namespace
{

const float FirstPlanetOrbit = 6.0f;
// The planet at the centre of its close view is drawn this much larger.
const float CloseViewScale = 4.0f;

SolarPlanetModel& CreateBody()
{
    ControllerInterface* const body = ObjectFactoryInterface::CreateObject(WorldObject::SolarBody);
    return dynamic_cast<SolarPlanetModel&>(*body->GetModel());
}

// One body on the next orbit out, which begins at the running radius; the
// radius moves on past the body and a gap. The order of the draws makes the
// system, so it must not change.
void FillBody(SolarPlanetModel& body, float& orbit)
{
    using Platform::Random;
    body.seed = Random();
    const float radius = static_cast<float>((Random() % 150 + 50) / 100.0);
    const float spin = static_cast<float>((1000 - Random() % 2000) / 5000.0);
    const float tilt = static_cast<float>(Random() % 360);
    body.Shape(radius, spin, tilt);
    body.orbitRadius = radius + orbit;
    body.orbitAngle = static_cast<float>((Random() % 360) * Math::Pi<double> / 180);
    body.orbitSpeed = static_cast<float>((Random() % 100) / 1e6);
    orbit = static_cast<float>(orbit + (Random() % 1000) / 750.0 + 2.0 * radius + 1);
}

} // namespace

SolarSystemGenerator::SolarSystemGenerator(DataStore* store, ObjectFactory* factory, int seed)
    : store(store), factory(factory)
{
    GeneratePlanets(seed);
}

void SolarSystemGenerator::GeneratePlanets(int seed)
{
    Platform::SeedRandom(static_cast<unsigned>(seed));
    float orbit = FirstPlanetOrbit;
    const int count = Platform::Random() % 6 + 3;
    for (int i = 0; i < count; ++i)
        FillBody(CreateBody(), orbit);
}

// The moon count keeps only the bits 1, 4 and 8 of a remainder below 7.
void SolarSystemGenerator::GenerateMoons(const SolarPlanetModel& planet)
{
    Platform::SeedRandom(static_cast<unsigned>(planet.seed));
    SolarPlanetModel& centre = CreateBody();
    centre.seed = planet.seed;
    const float radius = planet.GetRadius() * CloseViewScale;
    centre.Shape(radius, planet.GetSpinStep(), planet.GetTilt());
    float orbit = radius + 2;
    const int count = (Platform::Random() % 7) & 13;
    for (int i = 0; i < count; ++i)
        FillBody(CreateBody(), orbit);
}
