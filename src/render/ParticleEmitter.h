#pragma once

#include "data/Component.h"
#include "data/FieldDescriptor.h"

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <memory>
#include <string>
#include <vector>

class Sprite;

// How new particles are born. The spreads are +/- per axis.
struct ParticleProperties
{
    glm::vec2 pos{0.0f, 0.0f};
    glm::vec2 posVariation{0.0f, 0.0f};
    glm::vec2 vel{1.0f, 1.0f};
    glm::vec2 velVariation{1.0f, 1.0f};
    glm::vec4 colorBegin{1.0f};
    glm::vec4 colorEnd{1.0f};
    float sizeBegin = 100.0f;
    float sizeEnd = 50.0f;
    float sizeVariation = 3.0f; // the birth size gains [0, 2 x this)
    float lifeTime = 1.0f;

    static const FieldDescriptor<ParticleProperties>& Descriptor();
};

struct Particle
{
    glm::vec2 velocity{0.0f};
    glm::vec2 position{0.0f};
    float rotation = 0.0f; // radians
    glm::vec4 colorBegin{0.0f};
    glm::vec4 colorEnd{0.0f};
    float sizeBegin = 0.0f;
    float sizeEnd = 0.0f;
    bool alive = false;
    float lifeTime = 0.0f;
    float lifeRemaining = 0.0f;
};

// Sparks, smoke and glowing lines: a fixed ring of particles, spawned around a point,
// moving in straight lines while their colour and size ramp from birth to death. Every
// live particle goes out in one instanced draw of the emitter's sprite.
class ParticleEmitter : public ComponentBase<ParticleEmitter>
{
public:
    // Bigger pools are a data mistake: they are reported and cut to this.
    static constexpr unsigned kMaxPool = 100000;

    ParticleEmitter() : ComponentBase<ParticleEmitter>(ctype::ParticleEmitter) {}

    void Read(const json& j) override;
    void Write(json& j) const override;
    // Sizes the pool, finds a sprite (the "sprite_dummy" archetype's when none was read)
    // and starts playing when asked to on wake.
    void Init() override;
    void Update(float dt) override;
    void Render() override;

    // Spawns one particle in the next slot of the ring, alive or not. Never allocates.
    void Emit();

    // Drawn before the owner's other components when the flag is false.
    void RenderBeneath();

    bool IsActive() const { return _active; }
    void SetActive(bool active) { _active = active; }
    bool IsLooping() const { return _looping; }
    void SetLooping(bool looping) { _looping = looping; }
    void SetPlayLength(bool oneSecond) { _playlength = oneSecond; }
    void SetEmissionRate(float perSecond) { _emissionrate = perSecond; }
    bool GetUseParentPos() const { return _useParentPos; }
    void SetUseParentPos(bool use) { _useParentPos = use; }
    bool GetDisplayAboveSprite() const { return _displayabovesprite; }
    void SetDisplayAboveSprite(bool above) { _displayabovesprite = above; }
    unsigned GetMaxParticles() const { return _maxParticles; }
    // Takes effect at the next update; capped like read data.
    void SetMaxParticles(unsigned count);

    ParticleProperties& Properties() { return _properties; }
    const ParticleProperties& Properties() const { return _properties; }
    // Where the rig and scripted effects put the next particle (without the owner's position).
    void SetSpawnPoint(const glm::vec2& point) { _properties.pos = point; }

    const std::vector<Particle>& Pool() const { return _pool; }
    unsigned AliveCount() const;
    // How many particles the last Render drew (0 when it drew nothing).
    unsigned LastDrawCount() const { return _lastDrawCount; }
    Sprite* GetSprite() const { return _sprite.get(); }

    // A uniform draw in [0, 1) with 15 bits, from the platform's rand().
    static float RandomUnit();

    // The per-particle matrix: translation x rotation about z x scale (s, s, 0).
    static glm::mat4 ParticleMatrix(const glm::vec2& position, float rotation, float size);

    static const FieldDescriptor<ParticleEmitter>& Descriptor();

private:
    void ResizePool(unsigned size);
    static unsigned Capped(unsigned count, const std::string& file, const std::string& jsonPath);

    bool _active = false;
    bool _playonawake = false;
    bool _looping = true;
    bool _playlength = true;
    float _emissionrate = 1.0f;
    bool _useParentPos = true;
    bool _displayabovesprite = true;
    unsigned _maxParticles = 1000;

    float _emitTimer = 0.0f;
    float _playTimer = 1.0f;
    unsigned _poolSize = 1000;
    unsigned _nextSlot = 999;
    ParticleProperties _properties;
    // Shared with clones, kept for the whole run.
    std::shared_ptr<Sprite> _sprite;
    std::vector<Particle> _pool;
    // Per-draw scratch, sized with the pool so drawing never allocates.
    std::vector<glm::mat4> _matrices;
    std::vector<glm::vec4> _colours;
    unsigned _lastDrawCount = 0;
};
