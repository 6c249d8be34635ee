#include "Game/Objects/ThrustBehavior.h"

#include "Engine/Point.h"
#include "Engine/Settings.h"

#include <GL/gl.h>
#include <algorithm>

namespace
{

constexpr int SpareParticles = 5;
// Only what the emitter makes at once; a longer life grows the pool later.
constexpr double MaxPreparedParticles = 4096;

// The particle life in whole steps.
int StepsOfLife(float life)
{
    const double steps = life * 1000.0f / Settings::timeStep;
    return steps > 0 ? static_cast<int>(std::min(steps, MaxPreparedParticles)) : 0;
}

} // namespace

ThrustBehavior::ThrustBehavior(const ThrustList* records) : BehaviorInterface(TypeId, nullptr)
{
    if (records)
    {
        for (const std::unique_ptr<ThrustData>& record : *records)
            AddEngine(*record);
    }
    SetEnabled(true);
}

void ThrustBehavior::AddEngine(const ThrustData& record)
{
    auto emitter = std::make_unique<ParticleEmitter>(
        record.texture, StepsOfLife(record.life) + SpareParticles, StepSeconds);
    emitter->life = record.life;
    emitter->width = record.size;
    emitter->height = record.size;
    engines.push_back({std::move(emitter), record.position, record.speed, record.accel,
                       record.speedFactor, record.accelFactor});
}

void ThrustBehavior::Emit(const Math::MemMatrix& transform, const Math::Vector& velocity)
{
    for (EngineStream& engine : engines)
    {
        const Math::Point point = Math::Point(engine.position) * transform;
        engine.emitter->Emit(Math::Vector(point.Data()),
                             engine.speed * transform - velocity * engine.speedFactor,
                             engine.accel * transform - velocity * engine.accelFactor);
    }
}

void ThrustBehavior::Update()
{
    for (EngineStream& engine : engines)
        engine.emitter->Update();
}

void ThrustBehavior::Draw()
{
    glPushMatrix();
    for (EngineStream& engine : engines)
        engine.emitter->Draw();
    glPopMatrix();
}
