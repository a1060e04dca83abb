#pragma once

#include "data/Component.h"
#include "data/Entity.h"
#include "data/FieldDescriptor.h"

#include <string>
#include <vector>

// Components for tests: they record what the engine calls on them.
struct CallLog
{
    std::vector<std::string> calls;
    void Clear() { calls.clear(); }
};
CallLog& Calls();

template <CType Type> class Probe : public ComponentBase<Probe<Type>>
{
public:
    Probe() : ComponentBase<Probe<Type>>(Type) {}

    void Read(const json& j) override { Descriptor().Read(*this, j); }
    void Write(json& j) const override { Descriptor().Write(*this, j); }
    void Init() override { Log("init"); }
    void Update(float) override
    {
        Log("update");
        if (_onUpdate)
            _onUpdate(*this);
    }
    void FixedUpdate(float) override { ++_fixedSteps; }
    void Render() override { Log("render"); }
    void Exit() override
    {
        Log("exit");
        if (_onExit)
            _onExit(*this);
    }

    static const FieldDescriptor<Probe>& Descriptor()
    {
        static const FieldDescriptor<Probe> d("Probe", {GLOAMER_FIELD(Probe, _label), GLOAMER_FIELD(Probe, _speed),
                                                        GLOAMER_FIELD(Probe, _count), GLOAMER_FIELD(Probe, _on),
                                                        GLOAMER_FIELD(Probe, _offset)});
        return d;
    }

    void Log(const char* what) const
    {
        std::string owner = this->GetOwner() ? this->GetOwner()->GetName() : std::string("?");
        Calls().calls.push_back(owner + ":" + std::to_string(Type) + ":" + what);
    }

    std::string _label;
    float _speed = 1.5f;
    int _count = 3;
    bool _on = false;
    glm::vec2 _offset{2.0f, 4.0f};
    int _fixedSteps = 0;
    void (*_onUpdate)(Probe&) = nullptr;
    void (*_onExit)(Probe&) = nullptr;
};

// Registered as "probesprite" (0), "probebehavior" and "probeotherbehavior" (2),
// "probephysics" (5).
using ProbeSprite = Probe<0>;
using ProbeBehavior = Probe<2>;
using ProbePhysics = Probe<5>;
class ProbeOtherBehavior : public ComponentBase<ProbeOtherBehavior, ProbeBehavior>
{
};
