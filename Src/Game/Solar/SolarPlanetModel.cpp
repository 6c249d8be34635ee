#include "Game/Solar/SolarPlanetModel.h"

#include <cmath>

SolarPlanetModel::SolarPlanetModel(Model* mesh) : PlanetModel(mesh, 1, nullptr) {}

void SolarPlanetModel::Update()
{
    x = std::cos(orbitAngle) * orbitRadius;
    y = std::sin(orbitAngle) * orbitRadius;
    orbitAngle += orbitSpeed;
    PlanetModel::Update();
}

void SolarPlanetModel::Shape(float bodyRadius, float spinDegrees, float tiltDegrees)
{
    radius = bodyRadius;
    spinStep = spinDegrees;
    tilt = tiltDegrees;
}
