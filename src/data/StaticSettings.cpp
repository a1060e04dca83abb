#include "data/StaticSettings.h"

#include "core/AtomicFile.h"
#include "data/FieldDescriptor.h"
#include "data/JsonError.h"
#include "data/Stream.h"

namespace
{
bool s_writeBack = true;
}

StaticSettings::StaticSettings(std::string_view className, std::initializer_list<Entry> entries)
    : _fileName(NormaliseKey(className))
{
    for (const Entry& e : entries)
        _fields.push_back({e.target, NormaliseKey(e.memberName)});
}

StaticSettings::~StaticSettings()
{
    if (_loaded && s_writeBack)
        Save();
}

void StaticSettings::SetWriteBack(bool enabled)
{
    s_writeBack = enabled;
}

void StaticSettings::EnsureLoaded()
{
    if (_loaded)
        return;
    _loaded = true;

    Stream stream(_fileName, StaticFile);
    if (!stream.IsOpen())
        return;
    const json& j = stream.GetJson();
    if (!j.is_object())
    {
        _keepBad = true;
        if (stream.HasJson())
            ReportDataError(stream.Path(), "", "settings must be a JSON object");
        return;
    }
    // One bad value costs only that key; the rest of the file still applies.
    for (const Field& f : _fields)
    {
        auto it = j.find(f._key);
        if (it == j.end())
            continue;
        try
        {
            std::visit([&](auto* target) { FieldIo::ReadValue(*target, *it); }, f._target);
        }
        catch (const json::exception& e)
        {
            ReportJsonError(stream.Path(), e);
        }
    }
}

bool StaticSettings::Save() const
{
    json j = json::object();
    for (const Field& f : _fields)
        std::visit([&](auto* target) { j[f._key] = FieldIo::WriteValue(*target); }, f._target);
    const std::string path = Stream::GetPath(_fileName, StaticFile);
    if (_keepBad)
    {
        if (!KeepBadCopy(path))
        {
            ReportDataError(path, "", "could not keep a copy of the unreadable file; it is not rewritten");
            return false;
        }
        _keepBad = false;
    }
    return WriteFileAtomic(path, j.dump());
}
