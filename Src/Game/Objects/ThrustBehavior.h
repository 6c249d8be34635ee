#pragma once

#include "Engine/BehaviorInterface.h"
#include "Engine/Vector.h"
#include "Game/Objects/ThrustData.h"
#include "Graphics/ParticleEmitter.h"

#include <memory>
#include <vector>

namespace Math
{
class MemMatrix;
}

// The exhaust of a ship or a shot: one particle stream per engine. The
// particles live in world coordinates; the carrier's model emits them during
// its step, and the behaviour ages and draws them through the carrier's
// controller.
class ThrustBehavior : public BehaviorInterface
{
public:
    struct EngineStream
    {
        std::unique_ptr<ParticleEmitter> emitter;
        // In the carrier's own frame.
        Math::Vector position;
        Math::Vector speed;
        Math::Vector accel;
        float speedFactor;
        float accelFactor;
    };

    static constexpr int TypeId = 0;

    // One engine per record, in order; the records may be null. Enabled.
    explicit ThrustBehavior(const ThrustList* records);

    // An emitter with room for the particles of its life in steps, plus 5.
    void AddEngine(const ThrustData& record);
    // One particle per engine, leaving the carrier's transform at the engine's
    // place, less shares of the carrier's velocity.
    void Emit(const Math::MemMatrix& transform, const Math::Vector& velocity);

    void Update() override;
    void Draw() override;

    const std::vector<EngineStream>& GetEngines() const { return engines; }

private:
    std::vector<EngineStream> engines;
};
