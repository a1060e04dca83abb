#pragma once

#include "Probes.h"

#include "behaviors/Behavior.h"
#include "data/Entity.h"

#include <string>

// A behaviour that writes every hook it receives to Calls(), as "owner:hook:detail".
class RecordingBehavior : public ComponentBase<RecordingBehavior, Behavior>
{
public:
    std::string_view GetName() const override { return "recordingbehavior"; }

    void Start() override
    {
        ++_starts;
        Log("start", "");
    }
    void OnCollision(Entity& self, Entity& other) override
    {
        Log("collision", (&self == GetOwner() ? "" : "WRONG SELF ") + other.GetName());
    }
    void OnStatusGained(unsigned flag) override { Log("gained", std::to_string(flag)); }
    void OnStatusGiven(unsigned flag) override { Log("given", std::to_string(flag)); }

    int _starts = 0;

private:
    void Log(const char* hook, const std::string& detail) const
    {
        const std::string owner = GetOwner() ? GetOwner()->GetName() : std::string("?");
        Calls().calls.push_back(owner + ":" + hook + (detail.empty() ? "" : ":" + detail));
    }
};
