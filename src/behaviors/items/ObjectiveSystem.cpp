#include "behaviors/items/ObjectiveSystem.h"

#include "behaviors/UiLinks.h"
#include "core/Trace.h"
#include "data/Entity.h"
#include "render/Sprite.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
ObjectiveSystem* s_live = nullptr;
} // namespace

ObjectiveSystem::ObjectiveSystem() : System("ObjectiveSystem")
{
    s_live = this;
}

ObjectiveSystem::~ObjectiveSystem()
{
    s_live = nullptr;
}

ObjectiveSystem* ObjectiveSystem::Live()
{
    return s_live;
}

ObjectiveSystem& ObjectiveSystem::Instance()
{
    static ObjectiveSystem instance;
    return instance;
}

void ObjectiveSystem::SetSounds()
{
    _ambient.Set("level1amb", 1.0f, true, true);
    for (int i = 0; i < kLayerCount; ++i)
    {
        const std::string n = std::to_string(i + 1);
        ItemLayer(i).Set("level1item" + n, 1.0f, true, true);
        Riser(i).Set("level1_riser" + n, 1.0f, false, true);
    }
    _theme.Set("gloamermaintheme", 1.0f, true, true);
}

bool ObjectiveSystem::Init()
{
    SetSounds();
    _ambient.Play();
    _ambient.Pause(true);
    _theme.Play();
    return true;
}

ObjectiveSystem::RecordHandle ObjectiveSystem::Register(int id, const std::string& owner, const std::string& where)
{
    for (const Record& r : _register)
        if (r._id == static_cast<std::uint32_t>(id))
        {
            Trace::Error(where + ": collectables \"" + r._owner + "\" and \"" + owner + "\" share the id " +
                         std::to_string(id) + "; only the first can be collected, so the level cannot be won");
            break;
        }
    _register.push_back({static_cast<std::uint32_t>(id), false, owner});
    return {_register.size() - 1, _generation};
}

ObjectiveSystem::Record* ObjectiveSystem::Find(RecordHandle handle)
{
    if (handle._generation != _generation || handle._index >= _register.size())
        return nullptr;
    return &_register[handle._index];
}

bool ObjectiveSystem::EveryRecordCollected() const
{
    return !_register.empty() &&
           std::all_of(_register.begin(), _register.end(), [](const Record& r) { return r._collected; });
}

void ObjectiveSystem::Collect(int id)
{
    auto first = std::find_if(_register.begin(), _register.end(),
                              [id](const Record& r) { return r._id == static_cast<std::uint32_t>(id); });
    if (first != _register.end())
        first->_collected = true;
    ++_collectedCount;

    if (!_register.empty())
        _allCollected = EveryRecordCollected();
    if (_allCollected)
        ShowRunText();

    // An object outside the four music slots still counts but leaves the music alone.
    if (!IsLayerId(id) || _collectedCount < 1 || _collectedCount > kLayerCount)
        return;
    if (_collectedCount > 1)
        FadeLayer(_collectedCount - 2, 0.0f);
    FadeLayer(_collectedCount - 1, 1.0f);
}

void ObjectiveSystem::FadeLayer(int i, float target)
{
    const auto slot = static_cast<std::size_t>(i);
    _layerTarget[slot] = target;
    if (target > 0.0f && !ItemLayer(i).IsPlaying())
    {
        // A layer starting cold comes in from silence rather than all at once.
        _layerGain[slot] = 0.0f;
        ItemLayer(i).SetVolume(0.0f);
        ItemLayer(i).Play();
    }
}

void ObjectiveSystem::Update(float dt)
{
    const float step = dt / kLayerFade;
    for (int i = 0; i < kLayerCount; ++i)
    {
        const auto slot = static_cast<std::size_t>(i);
        float& gain = _layerGain[slot];
        const float target = _layerTarget[slot];
        if (gain != target)
        {
            gain = target > gain ? std::min(gain + step, target) : std::max(gain - step, target);
            // Equal-power curve: two layers crossing keep the loudness steady.
            ItemLayer(i).SetVolume(std::sin(gain * std::numbers::pi_v<float> / 2.0f));
        }
        // Also catches a layer replaced before it was ever heard.
        if (gain <= 0.0f && target <= 0.0f && ItemLayer(i).IsPlaying())
            ItemLayer(i).Stop();
    }
}

void ObjectiveSystem::ShowRunText() const
{
    // The HUD shakes the text and hides it after its two seconds; the sprite is also set
    // here so the words show in a level without a HUD.
    Hud::Get().SetPillarText("RUN.");
    for (const auto& scene : SceneSystem::Instance().GetScenes())
    {
        Entity* text = scene->FindEntity("pillartext");
        Sprite* sprite = text ? text->Get<Sprite>(ctype::Sprite) : nullptr;
        if (!sprite)
            continue;
        sprite->SetText("RUN.");
        glm::vec4 tint = sprite->GetTint();
        tint.a = 1.0f;
        sprite->SetTint(tint);
        return;
    }
}

void ObjectiveSystem::ResumeAmbient()
{
    if (_ambient.IsPlaying() && _ambient.IsPaused())
        _ambient.Pause(false);
    else if (!_ambient.IsPlaying())
        _ambient.Play();
}

void ObjectiveSystem::Reset()
{
    _allCollected = false;
    _register.clear();
    ++_generation;
    _collectedCount = 0;
    for (Sound& layer : _items)
    {
        layer.Stop();
        layer.LeavePlayingList();
    }
    _layerGain.fill(0.0f);
    _layerTarget.fill(0.0f);
}

void ObjectiveSystem::ResetAll()
{
    Reset();
    _objectiveText.clear();
    _ambient = Sound();
    _theme = Sound();
    for (int i = 0; i < kLayerCount; ++i)
    {
        ItemLayer(i) = Sound();
        Riser(i) = Sound();
    }
}
