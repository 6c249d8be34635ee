#pragma once

#include "Game/Objects/PlanetModel.h"

// A planet or moon of the solar system: a planet that pulls nothing and
// moves itself along a circular orbit around the centre of the view. Its
// seed makes its moons.
class SolarPlanetModel : public PlanetModel
{
public:
    // A body of radius 1 until the generator shapes it.
    explicit SolarPlanetModel(Model* mesh);

    // The place on the orbit, from the angle before it advances; then the
    // spin.
    void Update() override;

    // Spin in degrees per step, tilt in degrees.
    void Shape(float bodyRadius, float spinDegrees, float tiltDegrees);
    float GetSpinStep() const { return spinStep; }
    float GetTilt() const { return tilt; }

    int seed = 0;
    float orbitRadius = 0.0f;
    // Radians, and radians per step.
    float orbitAngle = 0.0f;
    float orbitSpeed = 0.0f;
};
