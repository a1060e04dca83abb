#pragma once

#include <string>

// An engine system: a global driven by the main loop in a fixed order.
class System
{
public:
    explicit System(std::string name) : _name(std::move(name)) {}
    virtual ~System() = default;

    virtual bool Init() { return true; }
    virtual void Update(float dt) = 0;
    virtual void Render() {}
    virtual void Exit() {}

    const std::string& GetName() const { return _name; }

private:
    std::string _name;
};
