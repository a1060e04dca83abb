#include "audio/SoundSystem.h"

#include "audio/Sound.h"
#include "core/Trace.h"
#include "data/AtomicFile.h"
#include "data/DataPath.h"
#include "data/JsonError.h"
#include "data/Stream.h"

namespace
{
SoundSystem* s_live = nullptr;

const FieldDescriptor<SoundSystem::Entry>& EntryDescriptor()
{
    using Entry = SoundSystem::Entry;
    static const FieldDescriptor<Entry> descriptor("SoundEntry", {
                                                                     GLOAMER_FIELD(Entry, _looping),
                                                                     GLOAMER_FIELD(Entry, _volume),
                                                                     GLOAMER_FIELD(Entry, _category),
                                                                     GLOAMER_FIELD(Entry, _name),
                                                                     GLOAMER_FIELD(Entry, _filename),
                                                                 });
    return descriptor;
}
} // namespace

SoundSystem::SoundSystem() : System("SoundSystem")
{
    s_live = this;
}

SoundSystem::~SoundSystem()
{
    ReleaseAll();
    s_live = nullptr;
}

SoundSystem& SoundSystem::Instance()
{
    static SoundSystem instance;
    return instance;
}

SoundSystem* SoundSystem::Live()
{
    return s_live;
}

const FieldDescriptor<SoundVolumes>& SoundSystem::VolumesDescriptor()
{
    static const FieldDescriptor<SoundVolumes> descriptor("Sound", {
                                                                       GLOAMER_FIELD(SoundVolumes, masterVol),
                                                                       GLOAMER_FIELD(SoundVolumes, sfxVol),
                                                                       GLOAMER_FIELD(SoundVolumes, musicVol),
                                                                   });
    return descriptor;
}

bool SoundSystem::Init()
{
    ReleaseAll();
    // A failed engine is left closed: every sound is then silent and never playing.
    _engine = std::make_unique<AudioEngine>();
    _engine->Init(kChannels, _headless ? AudioEngine::kInitSilent | AudioEngine::kInitFrameClock : 0);
    if (!LoadTable())
    {
        ReleaseAll();
        return false;
    }
    _loaded = true;
    return true;
}

bool SoundSystem::LoadTable()
{
    const std::string path = kTablePath;
    Stream stream(path, RawPath);
    if (!stream.IsOpen())
    {
        Trace::Error(path + ": cannot open the sound table; the game cannot start without it");
        return false;
    }
    const json& j = stream.GetJson();
    if (!stream.HasJson())
    {
        Trace::Error(path + ": the sound table is not valid JSON; the game cannot start without it");
        return false;
    }
    if (!j.is_array())
    {
        ReportDataError(path, "", "the sound table must be a JSON array; the game cannot start without it");
        return false;
    }
    _document = j;
    for (std::size_t i = 0; i < j.size(); ++i)
        ReadEntry(j[i], i);
    if (_table.empty())
    {
        Trace::Error(path + ": the sound table holds no usable sound; the game cannot start without it");
        return false;
    }
    return true;
}

bool SoundSystem::ReadEntry(const json& element, std::size_t position)
{
    const std::string where = "/" + std::to_string(position);
    if (_table.size() >= kMaxEntries)
    {
        ReportDataError(kTablePath, where, "skipped: the sound table holds at most 65536 sounds");
        return false;
    }
    if (!element.is_object())
    {
        ReportDataError(kTablePath, where, "skipped: a sound must be a JSON object");
        return false;
    }
    for (const char* key : {"name", "filename"})
    {
        if (!element.contains(key))
        {
            ReportDataError(kTablePath, where, std::string("skipped: missing \"") + key + "\"");
            return false;
        }
    }
    Entry entry;
    try
    {
        FieldIo::ReadValue(entry._name, element["name"]);
        FieldIo::ReadValue(entry._filename, element["filename"]);
        EntryDescriptor().Read(entry, element);
    }
    catch (const json::exception& e)
    {
        ReportJsonError(kTablePath, e);
        return false;
    }
    entry._position = position;
    entry._loadFailed = !CheckDataPath(entry._filename, kTablePath, element.at("filename"));
    // A repeated name now finds the later entry; the earlier one stays in the table.
    _index[entry._name] = static_cast<std::uint16_t>(_table.size());
    _table.push_back(std::move(entry));
    return true;
}

void SoundSystem::Update(float dt)
{
    if (_engine)
        _engine->Update(dt);
    DropRemovedRecords();
}

void SoundSystem::Exit()
{
    if (_loaded)
        WriteTable();
    ReleaseAll();
}

void SoundSystem::WriteTable() const
{
    json out = _document;
    for (const Entry& entry : _table)
        EntryDescriptor().Write(entry, out[entry._position]);
    if (!WriteFileAtomic(kTablePath, out.dump(2) + "\n"))
        Trace::Error(std::string(kTablePath) + ": could not write the sound table back");
}

void SoundSystem::ReleaseAll()
{
    DetachRecords();
    if (_engine)
    {
        for (Entry& entry : _table)
            _engine->ReleaseSound(entry._sound);
        _engine->Close();
        _engine.reset();
    }
    _table.clear();
    _index.clear();
    _document = nullptr;
    _loaded = false;
}

void SoundSystem::Reset()
{
    ReleaseAll();
    _volumes = SoundVolumes{};
    _enabled = true;
    _headless = false;
}

std::uint16_t SoundSystem::FindIndex(const std::string& name) const
{
    auto it = _index.find(name);
    return it == _index.end() ? 0 : it->second;
}

const SoundSystem::Entry* SoundSystem::GetEntry(std::uint16_t index) const
{
    return index < _table.size() ? &_table[index] : nullptr;
}

AudioSound* SoundSystem::GetSound(std::uint16_t index)
{
    if (index >= _table.size() || !_engine || !_engine->IsOpen())
        return nullptr;
    Entry& entry = _table[index];
    if (entry._sound || entry._loadFailed)
        return entry._sound;
    entry._sound = _engine->CreateSound(entry._filename, AudioEngine::kLoopOff | AudioEngine::k2D);
    entry._loadFailed = entry._sound == nullptr;
    return entry._sound;
}

float SoundSystem::EffectiveVolume(const Sound& sound) const
{
    const Entry* entry = GetEntry(sound.GetIndex());
    if (!_enabled || !entry)
        return 0.0f;
    const float category = entry->_category != 0 ? _volumes.musicVol : _volumes.sfxVol;
    return _volumes.masterVol * sound.GetVolume() * entry->_volume * category;
}

void SoundSystem::RefreshVolumes()
{
    for (const Record& record : _playing)
    {
        if (record._sound)
            record._sound->ApplyVolume();
    }
}

void SoundSystem::SetEnabled(bool enabled)
{
    _enabled = enabled;
    RefreshVolumes();
}

void SoundSystem::AddRecord(Sound& sound)
{
    sound._record = static_cast<std::int32_t>(_playing.size());
    _playing.push_back({&sound, false});
}

void SoundSystem::RemoveRecord(Sound& sound)
{
    const auto at = static_cast<std::size_t>(sound._record);
    if (at < _playing.size() && _playing[at]._sound == &sound)
        _playing[at] = {nullptr, true};
}

void SoundSystem::DropRemovedRecords()
{
    std::size_t kept = 0;
    for (const Record& record : _playing)
    {
        if (record._removed)
            continue;
        record._sound->_record = static_cast<std::int32_t>(kept);
        _playing[kept++] = record;
    }
    _playing.resize(kept);
}

void SoundSystem::DetachRecords()
{
    for (const Record& record : _playing)
    {
        if (record._sound)
            record._sound->_record = -1;
    }
    _playing.clear();
}
