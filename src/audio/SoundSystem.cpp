#include "audio/SoundSystem.h"

#include "audio/Sound.h"
#include "core/AtomicFile.h"
#include "core/Trace.h"
#include "data/DataPath.h"
#include "data/JsonError.h"
#include "data/Stream.h"

#include <algorithm>
#include <filesystem>
#include <utility>

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
    DropRemovedRows();
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
    _playing.clear();
    if (_engine)
    {
        for (Entry& entry : _table)
            _engine->ReleaseSound(entry._sound);
        _engine->Close();
        _engine.reset();
    }
    _table.clear();
    _index.clear();
    _reportedNames.clear();
    _document = nullptr;
    _loaded = false;
}

void SoundSystem::Reset()
{
    ReleaseAll();
    _volumes = SoundVolumes{};
    _enabled = true;
    _focusMuted = false;
    _headless = false;
}

std::uint16_t SoundSystem::FindIndex(const std::string& name) const
{
    auto it = _index.find(name);
    return it == _index.end() ? 0 : it->second;
}

std::uint16_t SoundSystem::Lookup(const std::string& name)
{
    auto it = _index.find(name);
    if (it != _index.end())
        return it->second;
    if (!_table.empty() && _reportedNames.insert(name).second)
        Trace::Error(std::string(kTablePath) + ": no sound named \"" + name + "\"; the first sound plays instead");
    return 0;
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
    return EffectiveVolume(sound.GetIndex(), sound.GetVolume());
}

float SoundSystem::EffectiveVolume(std::uint16_t index, float volume) const
{
    const Entry* entry = GetEntry(index);
    if (!_enabled || _focusMuted || !entry)
        return 0.0f;
    const float category = entry->_category != 0 ? _volumes.musicVol : _volumes.sfxVol;
    return _volumes.masterVol * volume * entry->_volume * category;
}

void SoundSystem::RefreshVolumes()
{
    if (!_engine)
        return;
    for (const PlayingRow& row : _playing)
    {
        if (!row._removed)
            _engine->SetVolume(row._channel, EffectiveVolume(row._index, row._volume));
    }
}

void SoundSystem::SetEnabled(bool enabled)
{
    _enabled = enabled;
    RefreshVolumes();
}

void SoundSystem::SetFocusMuted(bool muted)
{
    _focusMuted = muted;
    RefreshVolumes();
}

std::uint32_t SoundSystem::Track(std::uint32_t ticket, const AudioChannel& channel, std::uint16_t index, float volume)
{
    if (!_engine)
        return 0;
    PlayingRow* row = Find(ticket);
    if (!row)
    {
        _playing.push_back({_nextTicket++, {}, 0, 1.0f, false});
        row = &_playing.back();
    }
    row->_channel = channel;
    row->_index = index;
    row->_volume = volume;
    return row->_ticket;
}

void SoundSystem::Untrack(std::uint32_t ticket)
{
    if (PlayingRow* row = Find(ticket))
        row->_removed = true;
}

SoundSystem::PlayingRow* SoundSystem::Find(std::uint32_t ticket)
{
    return const_cast<PlayingRow*>(std::as_const(*this).Find(ticket));
}

const SoundSystem::PlayingRow* SoundSystem::Find(std::uint32_t ticket) const
{
    auto it = std::lower_bound(_playing.begin(), _playing.end(), ticket,
                               [](const PlayingRow& row, std::uint32_t t) { return row._ticket < t; });
    if (ticket == 0 || it == _playing.end() || it->_ticket != ticket || it->_removed)
        return nullptr;
    return &*it;
}

void SoundSystem::DropRemovedRows()
{
    std::erase_if(_playing, [](const PlayingRow& row) { return row._removed; });
}
