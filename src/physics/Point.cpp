#include "physics/Point.h"

#include "data/FieldDescriptor.h"

void Point::Read(const json& j)
{
    FieldIo::RequireObject(j);
    if (auto it = j.find("center"); it != j.end())
        FieldIo::ReadValue(_center, *it);
}

void Point::Write(json& j) const
{
    j["center"] = FieldIo::WriteValue(_center);
}
