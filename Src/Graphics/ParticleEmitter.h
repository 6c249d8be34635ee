#pragma once

#include "Engine/Vector.h"
#include "Graphics/VertexArray.h"

#include <GL/gl.h>
#include <list>

class Texture;

// A pool of short-lived quads that face the viewer and fade out over their
// life: the engines' exhaust. Dead particles are kept and reused, the most
// recently retired first, so a running emitter allocates nothing once its
// pool has warmed up; all of them are drawn with one glDrawArrays.
class ParticleEmitter
{
public:
    struct Particle
    {
        // Seconds left.
        float life = 0;
        Math::Vector position;
        Math::Vector velocity;
        // The change of velocity in one update: the acceleration times the step.
        Math::Vector velocityStep;
    };

    // Makes poolSize particles at once; timeStep is the seconds one Update
    // advances. Nothing is drawn while the texture is null or not ready.
    ParticleEmitter(const Texture* texture, int poolSize, float timeStep);
    ParticleEmitter(const ParticleEmitter&) = delete;
    ParticleEmitter& operator=(const ParticleEmitter&) = delete;

    // A new particle with the emitter's life.
    void Emit(const Math::Vector& position, const Math::Vector& velocity,
              const Math::Vector& acceleration);
    // Once per fixed step: ages and moves the particles, retiring the dead.
    void Update();
    // Once per frame, after Camera::Apply, whose axes the quads face.
    void Draw();
    // The quads that Draw draws: one per live particle, opaque when emitted
    // and fading linearly to transparent.
    void BuildQuads();

    const std::list<Particle>& GetLive() const { return live; }
    const std::list<Particle>& GetFree() const { return free; }
    const VertexArray& GetVertexArray() const { return vertexArray; }

    // The life given to each new particle, in seconds.
    float life = 1.0f;
    // The quad's size in world units.
    float width = 1.0f;
    float height = 1.0f;
    GLenum blendSource = GL_SRC_ALPHA;
    GLenum blendDestination = GL_ONE;

private:
    void AddCorner(const Math::Vector& corner, float s, float t, float alpha);

    const float timeStep;
    const Texture* const texture;
    std::list<Particle> live;
    std::list<Particle> free;
    VertexArray vertexArray;
};
