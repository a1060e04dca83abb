#include "render/ParticleEmitter.h"

#include "core/Trace.h"
#include "data/Archetypes.h"
#include "data/DataFileScope.h"
#include "data/Entity.h"
#include "data/JsonError.h"
#include "data/Stream.h"
#include "data/TypeRegistry.h"
#include "render/GlState.h"
#include "render/LumMesh.h"
#include "render/Mesh.h"
#include "render/Sprite.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cstdlib>
#include <numbers>

GLOAMER_REGISTER_COMPONENT(ParticleEmitter, ctype::ParticleEmitter)

float ParticleEmitter::RandomUnit()
{
    // The effects were tuned on a generator of 15 bits; glibc's gives 31, so keep the low 15.
    return static_cast<float>(std::rand() & 0x7fff) / 32768.0f;
}

namespace
{
constexpr const char* kDummyArchetype = "sprite_dummy";

float Spread(float spread)
{
    return (2.0f * ParticleEmitter::RandomUnit() - 1.0f) * spread;
}
} // namespace

const FieldDescriptor<ParticleProperties>& ParticleProperties::Descriptor()
{
    static const FieldDescriptor<ParticleProperties> descriptor("ParticleProperties",
                                                                {
                                                                    GLOAMER_FIELD(ParticleProperties, pos),
                                                                    GLOAMER_FIELD(ParticleProperties, posVariation),
                                                                    GLOAMER_FIELD(ParticleProperties, vel),
                                                                    GLOAMER_FIELD(ParticleProperties, velVariation),
                                                                    GLOAMER_FIELD(ParticleProperties, colorBegin),
                                                                    GLOAMER_FIELD(ParticleProperties, colorEnd),
                                                                    GLOAMER_FIELD(ParticleProperties, sizeBegin),
                                                                    GLOAMER_FIELD(ParticleProperties, sizeEnd),
                                                                    GLOAMER_FIELD(ParticleProperties, sizeVariation),
                                                                    GLOAMER_FIELD(ParticleProperties, lifeTime),
                                                                });
    return descriptor;
}

const FieldDescriptor<ParticleEmitter>& ParticleEmitter::Descriptor()
{
    static const FieldDescriptor<ParticleEmitter> descriptor("ParticleEmitter",
                                                             {
                                                                 GLOAMER_FIELD(ParticleEmitter, _active),
                                                                 GLOAMER_FIELD(ParticleEmitter, _playonawake),
                                                                 GLOAMER_FIELD(ParticleEmitter, _looping),
                                                                 GLOAMER_FIELD(ParticleEmitter, _playlength),
                                                                 GLOAMER_FIELD(ParticleEmitter, _emissionrate),
                                                                 GLOAMER_FIELD(ParticleEmitter, _useParentPos),
                                                                 GLOAMER_FIELD(ParticleEmitter, _displayabovesprite),
                                                                 GLOAMER_FIELD(ParticleEmitter, _maxParticles),
                                                             });
    return descriptor;
}

unsigned ParticleEmitter::Capped(unsigned count, const std::string& file, const std::string& jsonPath)
{
    if (count <= kMaxPool)
        return count;
    ReportDataError(file, jsonPath,
                    "maxparticles " + std::to_string(count) + " is more than " + std::to_string(kMaxPool) +
                        "; the pool is cut to " + std::to_string(kMaxPool));
    return kMaxPool;
}

void ParticleEmitter::SetMaxParticles(unsigned count)
{
    _maxParticles = Capped(count, std::string(DataFileScope::Current()), "");
}

void ParticleEmitter::Read(const json& j)
{
    Descriptor().Read(*this, j);
    if (auto it = j.find("maxparticles"); it != j.end())
        _maxParticles = Capped(_maxParticles, std::string(DataFileScope::Current()), JsonPathOf(*it));

    auto readSprite = [this](const json& sprite)
    {
        auto made = std::make_shared<Sprite>();
        made->Read(sprite);
        _sprite = std::move(made);
    };
    if (auto props = j.find("particleproperties"); props != j.end())
    {
        FieldIo::RequireObject(*props);
        ParticleProperties::Descriptor().Read(_properties, *props);
        if (auto sprite = props->find("sprite"); sprite != props->end())
            readSprite(*sprite);
    }
    if (auto sprite = j.find("sprite"); sprite != j.end())
        readSprite(*sprite);
}

void ParticleEmitter::Write(json& j) const
{
    Descriptor().Write(*this, j);
    json props = json::object();
    ParticleProperties::Descriptor().Write(_properties, props);
    j["particleproperties"] = std::move(props);
    // Only for the scene dump; reading ignores it.
    j["liveparticles"] = AliveCount();
    if (_sprite)
    {
        json sprite = json::object();
        _sprite->Write(sprite);
        j["sprite"] = std::move(sprite);
    }
}

void ParticleEmitter::Init()
{
    ResizePool(_maxParticles);
    if (!_sprite)
    {
        // A temporary entity lends its sprite; clones of this emitter share it from here.
        auto dummy = CreateFromArchetype(kDummyArchetype, false);
        if (auto* sprite = dummy ? dummy->Get<Sprite>(ctype::Sprite) : nullptr)
        {
            std::unique_ptr<Component> copy = sprite->Clone();
            _sprite.reset(static_cast<Sprite*>(copy.release()));
        }
        else
            Trace::Error(Stream::GetPath(kDummyArchetype, EntityFile) + ": " +
                         (GetOwner() ? "entity \"" + GetOwner()->GetName() + "\": " : std::string()) +
                         "no sprite to lend; the particles are not drawn");
    }
    if (_playonawake)
    {
        _active = true;
        _playTimer = _playlength ? 1.0f : 0.0f;
    }
}

void ParticleEmitter::ResizePool(unsigned size)
{
    _pool.resize(size);
    _pool.shrink_to_fit();
    _matrices.reserve(size);
    _colours.reserve(size);
    _poolSize = size;
}

unsigned ParticleEmitter::AliveCount() const
{
    unsigned n = 0;
    for (const Particle& p : _pool)
        n += p.alive ? 1u : 0u;
    return n;
}

void ParticleEmitter::Update(float dt)
{
    _playTimer -= dt;
    if (_playTimer < 0.0f)
    {
        if (!_looping)
            _active = false;
        else
            _playTimer = _playlength ? 1.0f : 0.0f;
    }

    if (_active)
    {
        _emitTimer -= dt;
        if (_emitTimer < 0.0f)
        {
            Emit();
            if (_looping)
                _emitTimer = 1.0f / _emissionrate;
        }
    }

    // Code may set the size between updates; the pool follows before anything moves.
    if (_maxParticles > kMaxPool)
        _maxParticles = kMaxPool;
    if (_maxParticles != _poolSize || _pool.size() != _poolSize)
        ResizePool(_maxParticles);

    for (Particle& p : _pool)
    {
        if (!p.alive)
            continue;
        if (p.lifeRemaining > 0.0f)
        {
            p.lifeRemaining -= dt;
            p.position += p.velocity * dt;
            p.rotation += 0.01f * dt;
        }
        else
            p.alive = false;
    }
}

void ParticleEmitter::Emit()
{
    if (_pool.empty())
        return;
    // A ring walked downward; the slot is taken whether or not its particle still lives.
    const auto size = static_cast<unsigned>(_pool.size());
    unsigned slot = _nextSlot % size;
    slot = slot == 0 ? size - 1 : slot - 1;
    _nextSlot = slot;

    Particle& p = _pool[slot];
    p.alive = true;
    const Entity* owner = GetOwner();
    p.position = _useParentPos && owner ? owner->GetTransform().GetTranslation() : _properties.pos;
    p.position.x += Spread(_properties.posVariation.x);
    p.position.y += Spread(_properties.posVariation.y);
    p.rotation = (2.0f - 2.0f * ParticleEmitter::RandomUnit()) * std::numbers::pi_v<float>;
    p.velocity = _properties.vel;
    p.velocity.x += Spread(_properties.velVariation.x);
    p.velocity.y += Spread(_properties.velVariation.y);
    p.colorBegin = _properties.colorBegin;
    p.colorEnd = _properties.colorEnd;
    p.lifeTime = p.lifeRemaining = _properties.lifeTime;
    p.sizeBegin = _properties.sizeBegin + 2.0f * ParticleEmitter::RandomUnit() * _properties.sizeVariation;
    p.sizeEnd = _properties.sizeEnd;
}

glm::mat4 ParticleEmitter::ParticleMatrix(const glm::vec2& position, float rotation, float size)
{
    glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(position, 0.0f));
    m = glm::rotate(m, rotation, glm::vec3(0.0f, 0.0f, 1.0f));
    return glm::scale(m, glm::vec3(size, size, 0.0f));
}

void ParticleEmitter::RenderBeneath()
{
    if (_displayabovesprite)
        return;
    _displayabovesprite = true;
    Render();
    _displayabovesprite = false;
}

void ParticleEmitter::Render()
{
    _lastDrawCount = 0;
    if (!_displayabovesprite)
        return;

    _matrices.clear();
    _colours.clear();
    for (const Particle& p : _pool)
    {
        if (!p.alive)
            continue;
        // Linear in age; a zero lifetime counts as fully aged.
        const float e = p.lifeTime > 0.0f ? 1.0f - p.lifeRemaining / p.lifeTime : 1.0f;
        _colours.push_back(p.colorBegin + (p.colorEnd - p.colorBegin) * e);
        _matrices.push_back(ParticleMatrix(p.position, p.rotation, p.sizeBegin + (p.sizeEnd - p.sizeBegin) * e));
    }
    if (_matrices.empty() || !_sprite || !GlState::IsLive())
        return;
    LumMesh* gpu = _sprite->GetMesh() ? _sprite->GetMesh()->GetGpu() : nullptr;
    if (!gpu || !_sprite->GetShader())
        return;

    // Instance attributes attach to whichever vertex array is bound.
    GlState::BindVertexArray(gpu->GetDrawMode() == LumMesh::Filled ? gpu->GetFillArray() : gpu->GetOutlineArray());
    LumInstance& instances = _sprite->Instances();
    instances.UploadColours(_colours);
    instances.UploadMatrices(_matrices);
    instances.SetCount(static_cast<unsigned>(_matrices.size()));
    _sprite->RenderWithMatrix(glm::mat4(1.0f));
    _lastDrawCount = static_cast<unsigned>(_matrices.size());
}
