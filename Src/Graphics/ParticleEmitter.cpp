#include "Graphics/ParticleEmitter.h"

#include "Graphics/Camera.h"
#include "Graphics/Texture.h"

#include <iterator>

namespace
{

constexpr int VerticesPerQuad = 4;
constexpr int VertexGrowStep = 40;
constexpr float AlphaThreshold = 0.0625f;

} // namespace

ParticleEmitter::ParticleEmitter(const Texture* texture, int poolSize, float timeStep)
    : timeStep(timeStep), texture(texture), free(poolSize > 0 ? poolSize : 0),
      vertexArray(GL_QUADS, VerticesPerQuad * poolSize, VertexGrowStep, false, true, true, 3)
{
}

void ParticleEmitter::Emit(const Math::Vector& position, const Math::Vector& velocity,
                           const Math::Vector& acceleration)
{
    if (free.empty())
        live.emplace_back();
    else
        live.splice(live.end(), free, std::prev(free.end()));
    Particle& particle = live.back();
    particle.life = life;
    particle.position = position;
    particle.velocity = velocity;
    particle.velocityStep = acceleration * timeStep;
}

void ParticleEmitter::Update()
{
    for (auto it = live.begin(); it != live.end();)
    {
        const auto next = std::next(it);
        Particle& particle = *it;
        particle.life -= timeStep;
        if (particle.life > 0)
        {
            particle.position += particle.velocity * timeStep;
            particle.velocity += particle.velocityStep;
        }
        else
        {
            free.splice(free.end(), live, it);
        }
        it = next;
    }
}

void ParticleEmitter::Draw()
{
    if (!texture || !texture->IsReady())
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture->textureId);
    glDisable(GL_LIGHTING);
    glDepthMask(GL_FALSE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, AlphaThreshold);
    glEnable(GL_BLEND);
    glBlendFunc(blendSource, blendDestination);
    BuildQuads();
    vertexArray.Draw();
    glPopAttrib();
}

void ParticleEmitter::BuildQuads()
{
    const Math::Vector up = CameraUp * height;
    const Math::Vector right = CameraRight * width;
    vertexArray.Clear();
    for (const Particle& particle : live)
    {
        const float alpha = particle.life / life;
        Math::Vector corner = particle.position + (up + right) * 0.5f;
        AddCorner(corner, 0, 0, alpha);
        corner -= right;
        AddCorner(corner, 0, 1, alpha);
        corner -= up;
        AddCorner(corner, 1, 1, alpha);
        corner += right;
        AddCorner(corner, 1, 0, alpha);
    }
}

void ParticleEmitter::AddCorner(const Math::Vector& corner, float s, float t, float alpha)
{
    vertexArray.SetColor(1, 1, 1, alpha);
    vertexArray.SetTexCoord(s, t);
    vertexArray.AddVertex(corner);
}
