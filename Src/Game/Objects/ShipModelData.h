#pragma once

#include "Game/Objects/ShipModel.h"
#include "Game/Objects/ThrustData.h"

#include <string>

// What every flying ship needs: its model, its crew, its flight values, its
// exhaust streams and the springs that lean it into thrust and turns.
class ShipModel::Data
{
public:
    // The gains of a spring's PidController.
    struct Gains
    {
        float p;
        float i;
        float d;
    };

    Data(const std::string& resource, const std::string& race, const std::string& name);
    virtual ~Data();
    Data(const Data&) = delete;
    Data& operator=(const Data&) = delete;

    // The ship's "3DModel" resource.
    std::string resource;
    std::string race;
    std::string name;
    int crew = 1;
    int crewMax = 1;
    float mass = 1.0f;
    float radius = 1.0f;
    // Speed gained per fixed step while thrusting.
    float acceleration = 1.0f;
    // Degrees per second.
    float turningSpeed = 1.0f;
    float maxSpeed = 1.0f;
    float maxSpeedSquared = 1.0f;
    ThrustList engines;
    // The pitch in degrees the ship leans to under thrust, less as its speed
    // nears the limit.
    float pitchTarget = 20.0f;
    Gains pitchGains = {1.0f, 1.0f, 0.1f};
    // The roll in degrees the ship banks to while turning.
    float rollTarget = 50.0f;
    Gains rollGains = {1.0f, 1.0f, 0.1f};
};
