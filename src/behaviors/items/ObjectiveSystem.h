#pragma once

#include "audio/Sound.h"
#include "core/System.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The level objective: the register of collectables, the objective text, how many
// have been collected, and the level music that gains a layer with each one.
class ObjectiveSystem : public System
{
public:
    static constexpr int kLayerCount = 4;
    // Seconds a new music layer takes to swell in while the one before dies away.
    static constexpr float kLayerFade = 2.5f;

    struct Record
    {
        std::uint32_t _id = 0;
        bool _collected = false;
        std::string _owner; // entity name, for reports
    };

    // Where a collectable finds its record again; stale once the register is reset.
    struct RecordHandle
    {
        std::size_t _index = 0;
        std::uint64_t _generation = 0;
    };

    ObjectiveSystem();
    ~ObjectiveSystem() override;

    static ObjectiveSystem& Instance();
    // The instance while it exists: scenes deleted during static destruction may end
    // after it.
    static ObjectiveSystem* Live();

    // Prepares the level music: the ambience starts paused, the theme plays.
    bool Init() override;
    // Moves the music layers along their fades; a layer faded out is stopped.
    void Update(float dt) override;

    // Appends a record. A second record with an id already registered makes the
    // level unwinnable (only the first is ever marked), so it is reported.
    RecordHandle Register(int id, const std::string& owner, const std::string& where);
    Record* Find(RecordHandle handle);

    // Marks the first record with the id and moves the music on by the new count: the
    // new layer fades in over the old one, which fades out.
    void Collect(int id);
    // Empties the register and stops the item layers; every scene calls it as it ends.
    void Reset();
    // Reset plus fresh sounds and text, as at start-up (tests).
    void ResetAll();

    // Resumes the ambience when it is paused and starts it when it is silent.
    void ResumeAmbient();
    bool IsAllCollected() const { return _allCollected; }
    void SetAllCollected(bool all) { _allCollected = all; }
    // True only with a non-empty register whose records are all collected.
    bool EveryRecordCollected() const;
    const std::vector<Record>& GetRegister() const { return _register; }
    int GetCollectedCount() const { return _collectedCount; }
    const std::string& GetObjectiveText() const { return _objectiveText; }
    void SetObjectiveText(std::string text) { _objectiveText = std::move(text); }

    Sound& Ambient() { return _ambient; }
    Sound& Theme() { return _theme; }
    Sound& ItemLayer(int i) { return _items[static_cast<std::size_t>(i)]; }
    Sound& Riser(int i) { return _risers[static_cast<std::size_t>(i)]; }

    static bool IsLayerId(int id) { return id >= 1 && id <= kLayerCount; }

private:
    void SetSounds();
    void ShowRunText() const;
    void FadeLayer(int i, float target);

    bool _allCollected = false;
    std::string _objectiveText;
    std::vector<Record> _register;
    std::uint64_t _generation = 1;
    int _collectedCount = 0;
    Sound _ambient;
    std::array<Sound, kLayerCount> _items;
    // Where each layer is on its fade (0 silent, 1 full) and where it is heading.
    std::array<float, kLayerCount> _layerGain{};
    std::array<float, kLayerCount> _layerTarget{};
    std::array<Sound, kLayerCount> _risers;
    Sound _theme;
};
