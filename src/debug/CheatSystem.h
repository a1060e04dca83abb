#pragma once

#include "core/System.h"

#include <nlohmann/json_fwd.hpp>

#include <map>
#include <string>
#include <string_view>
#include <vector>

class InputSystem;

struct CheatKey
{
    int _key = 0;
    bool _release = false; // the step completes when the key goes up, not down
};

struct CheatCode
{
    std::vector<CheatKey> _keys;
    bool _triggered = false;
    float _timer = 0.0f; // seconds left to type the next step
    unsigned _progress = 0;
    float _delayTime = 0.0f;
    bool _disabled = false;
};

// Recognises named key sequences typed during play ("Data/Data/dat_cheat_codes.json").
// A cheat is triggered for the one frame after its sequence completes. This system
// applies the cheats that act on the engine (lights, quitting, free camera, the party
// line); everything else asks IsTriggered through core/Cheats.h.
class CheatSystem : public System
{
public:
    using CodeMap = std::map<std::string, CheatCode, std::less<>>;

    CheatSystem() : System("CheatSystem") {}

    static CheatSystem& Instance();

    // Reads the cheat file. A cheat with a value of the wrong type, a key code that is
    // no key or button, or a negative delay is reported with its JSON path and
    // skipped; always true.
    bool Init() override;
    // Runs every cheat's matcher in name order, then applies the engine's cheats.
    void Update(float dt) override;

    // Asking for a name that is not known adds it, never triggered.
    bool IsTriggered(std::string_view name);

    void Load(const nlohmann::json& j, std::string_view file);
    const CodeMap& Codes() const { return _codes; }

    // One frame of one cheat against the input system's state before its Update.
    static void Match(CheatCode& code, float dt, const InputSystem& input);

    // No cheats (between tests and runs).
    void Reset() { _codes.clear(); }

private:
    bool Triggered(std::string_view name) const;
    void ApplyEffects();

    CodeMap _codes;
};
