#pragma once

#include "data/Component.h"
#include "data/FieldDescriptor.h"
#include "physics/LineBuffer.h"

#include <string>
#include <vector>

class ParticleEmitter;

// Two line drawings of one body part with the same number of lines; the rig breathes
// between them.
struct RigKeyFrame
{
    LineBuffer frame1;
    LineBuffer frame2;
    std::string name = "New KeyFrame";
    bool debugFrame1 = false;
    bool debugFrame2 = false;
};

// One body part: which drawing it shows and how far behind the owner it turns.
struct RigSegment
{
    int keyframe = -1; // index into the library; -1 shows nothing
    LineBuffer worldLines;
    float rotation = 0.0f; // degrees
    float burstTimer = 0.0f;
    float _rotationdelay = 0.0f; // share of the way toward the owner's rotation per update
    bool debugDraw = false;
};

// A creature drawn as glowing lines of particles: each segment blends its keyframe pair
// by a sine wave, turns toward the owner's rotation with its own lag, and sprays
// particles along every line through the owner's emitter. The emitter must spawn at
// the points it is given (useparentpos false).
//
// JSON: the fields below, "library" [{"frame 1", "frame 2", "name"}], "body"
// [{"rotationdelay", "current keyframe"}], and optionally "rig": the name of a file in
// Data/Particles/ holding any of these keys, read first so levels and archetypes share one figure.
class ParticleRig : public ComponentBase<ParticleRig>
{
public:
    ParticleRig() : ComponentBase<ParticleRig>(ctype::ParticleRig) {}

    // Library and body are copied; the emitter is found again by Init.
    std::unique_ptr<Component> Clone() const override;
    void Read(const json& j) override;
    void Write(json& j) const override;
    // Finds the owner's emitter.
    void Init() override;
    void Update(float dt) override;
    // Debug drawing only: the switched-on world lines and keyframes.
    void Render() override;
    std::uint32_t GetFlags() const override { return 0x800; }

    // k = 3t^2 - 2t^3: the share of frame 2 in the blend at wave position t in [0, 1].
    static float BlendFactor(float t);
    // The rotation (degrees) a fraction `delay` of the way from `current` toward
    // `target`. Headings that cancel leave `current` as it was.
    static float LaggedRotation(float current, float target, float delay);

    std::vector<RigKeyFrame>& Library() { return _library; }
    std::vector<RigSegment>& Body() { return _body; }
    const std::vector<RigSegment>& Body() const { return _body; }
    // Points the segment at the first keyframe of that name; false (segment empty) when none has it.
    bool SetKeyFrame(RigSegment& segment, const std::string& name) const;
    // Same, for the segment at `index` showing the keyframe named (the monster's gait switch).
    bool SetKeyFrame(std::size_t index, const std::string& name);
    // Sprays `perLine` particles at random points of every line every segment placed
    // in its last update, outside the burst rhythm (a flinch, a roar).
    void EmitAlongLines(unsigned perLine);
    // The wave position of the last update.
    float GetBlend() const { return _lastT; }

    void SetParticlesPerLine(unsigned n) { _particlesPerLine = n; }
    void SetTimeDelay(float seconds) { _timedelay = seconds; }
    void SetAmplitude(float amplitude) { _amplitude = amplitude; }
    float GetAmplitude() const { return _amplitude; }
    void SetAnimationSpeed(float speed) { _animationspeed = speed; }
    float GetAnimationSpeed() const { return _animationspeed; }
    void SetEmitter(ParticleEmitter* emitter) { _emitter = emitter; }

    static const FieldDescriptor<ParticleRig>& Descriptor();

private:
    void ReadFigure(const json& j, const std::string& file);
    void UpdateSegment(RigSegment& segment, float t, float dt);
    void Spray(const RigSegment& segment, unsigned perLine);

    unsigned _particlesPerLine = 1;
    float _timedelay = 0.0f;
    float _amplitude = 1.0f;
    float _animationspeed = 100.0f;
    float _animationtime = 0.0f;

    std::string _rigFile;
    std::vector<RigKeyFrame> _library;
    std::vector<RigSegment> _body;
    // The names the body asked for, so a written rig reads back the same.
    std::vector<std::string> _segmentNames;
    ParticleEmitter* _emitter = nullptr;
    float _lastT = 0.5f;
};
