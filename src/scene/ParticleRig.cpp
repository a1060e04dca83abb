#include "scene/ParticleRig.h"

#include "core/Trace.h"
#include "data/DataFileScope.h"
#include "data/Entity.h"
#include "data/JsonError.h"
#include "data/Stream.h"
#include "data/TypeRegistry.h"
#include "render/ParticleEmitter.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <numbers>

GLOAMER_REGISTER_COMPONENT(ParticleRig, ctype::ParticleRig)

namespace
{
constexpr float kDegrees = 180.0f / std::numbers::pi_v<float>;
constexpr const char* kFrame1 = "frame 1";
constexpr const char* kFrame2 = "frame 2";
constexpr const char* kCurrent = "current keyframe";
} // namespace

const FieldDescriptor<ParticleRig>& ParticleRig::Descriptor()
{
    static const FieldDescriptor<ParticleRig> descriptor("ParticleRig",
                                                         {
                                                             GLOAMER_FIELD(ParticleRig, _particlesPerLine),
                                                             GLOAMER_FIELD(ParticleRig, _timedelay),
                                                             GLOAMER_FIELD(ParticleRig, _amplitude),
                                                             GLOAMER_FIELD(ParticleRig, _animationspeed),
                                                             GLOAMER_FIELD(ParticleRig, _animationtime),
                                                         });
    return descriptor;
}

std::unique_ptr<Component> ParticleRig::Clone() const
{
    auto copy = std::make_unique<ParticleRig>(*this);
    copy->SetOwner(nullptr);
    copy->_emitter = nullptr;
    return copy;
}

float ParticleRig::BlendFactor(float t)
{
    // 3t^2 - 2t^3, built from the ease-in and ease-out squares (both on the linear curve).
    const float in = t * t;
    const float out = 1.0f - (1.0f - t) * (1.0f - t);
    return t * (out - in) + in;
}

float ParticleRig::LaggedRotation(float current, float target, float delay)
{
    const float a = current / kDegrees;
    const float b = target / kDegrees;
    const float vx = std::cos(a) + (std::cos(b) - std::cos(a)) * delay;
    const float vy = std::sin(a) + (std::sin(b) - std::sin(a)) * delay;
    // Opposite headings half-way blended meet at the origin, which has no angle (a hair
    // off it, after rounding, would give a random one).
    if (vx * vx + vy * vy < 1e-10f)
        return current;
    return std::atan2(vy, vx) * kDegrees;
}

bool ParticleRig::SetKeyFrame(RigSegment& segment, const std::string& name) const
{
    for (std::size_t i = 0; i < _library.size(); ++i)
        if (_library[i].name == name)
        {
            segment.keyframe = static_cast<int>(i);
            return true;
        }
    segment.keyframe = -1;
    return false;
}

bool ParticleRig::SetKeyFrame(std::size_t index, const std::string& name)
{
    if (index >= _body.size())
        return false;
    if (index < _segmentNames.size())
        _segmentNames[index] = name;
    return SetKeyFrame(_body[index], name);
}

void ParticleRig::ReadFigure(const json& j, const std::string& file)
{
    if (auto library = j.find("library"); library != j.end())
    {
        if (!library->is_array())
            throw json::type_error::create(302, std::string("type must be array, but is ") + library->type_name(),
                                           &*library);
        _library.clear();
        for (const json& element : *library)
        {
            FieldIo::RequireObject(element);
            RigKeyFrame keyframe;
            if (auto it = element.find(kFrame1); it != element.end())
                keyframe.frame1.Read(*it);
            if (auto it = element.find(kFrame2); it != element.end())
                keyframe.frame2.Read(*it);
            if (auto it = element.find("name"); it != element.end())
                keyframe.name = it->get<std::string>();
            _library.push_back(std::move(keyframe));
        }
    }
    if (auto body = j.find("body"); body != j.end())
    {
        if (!body->is_array())
            throw json::type_error::create(302, std::string("type must be array, but is ") + body->type_name(), &*body);
        _body.clear();
        _segmentNames.clear();
        for (const json& element : *body)
        {
            FieldIo::RequireObject(element);
            RigSegment segment;
            if (auto it = element.find("rotationdelay"); it != element.end())
                FieldIo::ReadValue(segment._rotationdelay, *it);
            std::string name;
            if (auto it = element.find(kCurrent); it != element.end())
            {
                name = it->get<std::string>();
                if (!SetKeyFrame(segment, name))
                    ReportDataError(file, JsonPathOf(*it),
                                    "no keyframe in the library is named \"" + name + "\"; the segment shows nothing");
            }
            _body.push_back(std::move(segment));
            _segmentNames.push_back(std::move(name));
        }
    }
}

void ParticleRig::Read(const json& j)
{
    const std::string file(DataFileScope::Current());
    if (auto rig = j.find("rig"); rig != j.end())
    {
        _rigFile = rig->get<std::string>();
        Stream stream(_rigFile, ParticlesFile);
        if (!stream.IsOpen())
            ReportDataError(file, JsonPathOf(*rig), "no rig file \"" + stream.Path() + "\"; the figure stays empty");
        else if (stream.HasJson())
        {
            // Errors in the shared figure name that file, and leave this rig readable.
            try
            {
                FieldIo::RequireObject(stream.GetJson());
                Descriptor().Read(*this, stream.GetJson());
                ReadFigure(stream.GetJson(), stream.Path());
            }
            catch (const json::exception& e)
            {
                ReportJsonError(stream.Path(), e);
            }
        }
    }
    // The component's own keys win over the shared file's.
    Descriptor().Read(*this, j);
    ReadFigure(j, file);
}

void ParticleRig::Write(json& j) const
{
    Descriptor().Write(*this, j);
    if (!_rigFile.empty())
        j["rig"] = _rigFile;
    json library = json::array();
    for (const RigKeyFrame& keyframe : _library)
    {
        json element = json::object();
        keyframe.frame1.Write(element[kFrame1]);
        keyframe.frame2.Write(element[kFrame2]);
        element["name"] = keyframe.name;
        library.push_back(std::move(element));
    }
    j["library"] = std::move(library);
    json body = json::array();
    for (std::size_t i = 0; i < _body.size(); ++i)
    {
        const RigSegment& segment = _body[i];
        std::string name = segment.keyframe >= 0 ? _library[static_cast<std::size_t>(segment.keyframe)].name
                                                 : (i < _segmentNames.size() ? _segmentNames[i] : std::string());
        body.push_back({{"rotationdelay", FieldIo::WriteValue(segment._rotationdelay)}, {kCurrent, std::move(name)}});
    }
    j["body"] = std::move(body);
}

void ParticleRig::Init()
{
    Entity* owner = GetOwner();
    _emitter = owner ? owner->Get<ParticleEmitter>(ctype::ParticleEmitter) : nullptr;
    if (!owner)
        return;
    if (!_emitter)
        Trace::Error("entity \"" + owner->GetName() + "\": a particle rig without a particle emitter is not seen");
    else if (_emitter->GetUseParentPos())
        Trace::Error("entity \"" + owner->GetName() +
                     "\": the particle rig's emitter spawns at the entity (useparentpos), not along the figure");
}

void ParticleRig::Update(float dt)
{
    _animationtime += dt;
    const float w = std::sin(_animationtime * _animationspeed);
    _lastT = (w * _amplitude + 1.0f) * 0.5f;
    for (RigSegment& segment : _body)
        UpdateSegment(segment, _lastT, dt);
}

void ParticleRig::UpdateSegment(RigSegment& segment, float t, float dt)
{
    if (segment.keyframe < 0 || static_cast<std::size_t>(segment.keyframe) >= _library.size())
        return;
    const RigKeyFrame& keyframe = _library[static_cast<std::size_t>(segment.keyframe)];
    const std::vector<LineSegment>& from = keyframe.frame1._lines;
    const std::vector<LineSegment>& to = keyframe.frame2._lines;
    if (from.size() != to.size())
        return;

    const Entity* owner = GetOwner();
    const Transform* transform = owner ? &owner->GetTransform() : nullptr;
    segment.rotation =
        LaggedRotation(segment.rotation, transform ? transform->GetRotation() : 0.0f, segment._rotationdelay);

    // The owner's placement, turned by the segment's own lagging rotation.
    glm::mat4 place(1.0f);
    if (transform)
    {
        place = glm::translate(place, glm::vec3(transform->GetTranslation(), 0.0f));
        place = glm::rotate(place, segment.rotation / kDegrees, glm::vec3(0.0f, 0.0f, 1.0f));
        place = glm::scale(place, glm::vec3(transform->GetScale(), 1.0f));
    }
    const float k = BlendFactor(t);
    std::vector<LineSegment>& world = segment.worldLines._lines;
    world.resize(from.size());
    for (std::size_t i = 0; i < from.size(); ++i)
    {
        const glm::vec2 start = from[i]._start + (to[i]._start - from[i]._start) * k;
        const glm::vec2 end = from[i]._end + (to[i]._end - from[i]._end) * k;
        world[i]._start = glm::vec2(place * glm::vec4(start, 0.0f, 1.0f));
        world[i]._end = glm::vec2(place * glm::vec4(end, 0.0f, 1.0f));
    }

    segment.burstTimer -= dt;
    if (segment.burstTimer >= 0.0f)
        return;
    segment.burstTimer = _timedelay;
    Spray(segment, _particlesPerLine);
}

void ParticleRig::Spray(const RigSegment& segment, unsigned perLine)
{
    if (!_emitter)
        return;
    for (const LineSegment& line : segment.worldLines._lines)
        for (unsigned n = 0; n < perLine; ++n)
        {
            const float u = ParticleEmitter::RandomUnit();
            _emitter->SetSpawnPoint(line._start + (line._end - line._start) * u);
            _emitter->Emit();
        }
}

void ParticleRig::EmitAlongLines(unsigned perLine)
{
    for (const RigSegment& segment : _body)
        Spray(segment, perLine);
}

void ParticleRig::Render()
{
    for (const RigSegment& segment : _body)
        if (segment.debugDraw)
            segment.worldLines.DebugDraw();
    bool any = false;
    for (const RigKeyFrame& keyframe : _library)
        any = any || keyframe.debugFrame1 || keyframe.debugFrame2;
    if (!any || !GetOwner())
        return;
    const glm::mat4& place = GetOwner()->GetTransform().GetMatrix();
    LineBuffer placed;
    for (const RigKeyFrame& keyframe : _library)
    {
        if (keyframe.debugFrame1)
        {
            placed.PlaceFrom(keyframe.frame1, place);
            placed.DebugDraw();
        }
        if (keyframe.debugFrame2)
        {
            placed.PlaceFrom(keyframe.frame2, place);
            placed.DebugDraw();
        }
    }
}
