#pragma once

#include "Engine/PidController.h"
#include "Game/Objects/EntityModel.h"

#include <memory>

class DataStore;
class ThrustBehavior;

// A flying ship steered by its control flags: thrust up to a speed limit,
// turning, an exhaust, and springs that pitch it into thrust and roll it into
// turns. Its controller writes the flags before each step.
class ShipModel : public EntityModel
{
public:
    class Data;

    struct Controls
    {
        bool thrust = false;
        bool turnLeft = false;
        bool turnRight = false;
        bool firePrimary = false;
        bool fireSecondary = false;
    };

    // The mesh is the data's resource, which must exist. The data is not
    // owned and must outlive the ship.
    ShipModel(const Data& data, DataStore& store);
    ~ShipModel() override;

    // Thrust, turning and springs, then the body's step.
    void Update() override;
    // Makes the exhaust, one stream per engine of the data, and hands it to
    // the controller. A ship gets its controller before its first step.
    void SetController(ControllerInterface* controller) override;
    // The body's transform, rolled and then pitched.
    void UpdateTransform() override;
    // Halves the crew, killing the ship below 1.
    void OnHit(EntityModel& other) override;

    const Data& GetData() const { return data; }
    const ThrustBehavior* GetExhaust() const { return exhaust.get(); }
    const PidController& GetPitchSpring() const { return pitch; }
    const PidController& GetRollSpring() const { return roll; }

    Controls controls;
    // Set by planets for one step; the ship clears it in its own.
    bool nearPlanet = false;

private:
    void Thrust();
    void Turn();
    void Spring(PidController& spring, float& rate);

    const Data& data;
    std::unique_ptr<ThrustBehavior> exhaust;
    PidController pitch;
    float pitchRate = 0.0f;
    PidController roll;
    float rollRate = 0.0f;
    DataStore& store;
};
