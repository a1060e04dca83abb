#include "ui/BehaviorButton.h"

#include "core/MainLoop.h"
#include "core/MessageSystem.h"
#include "data/Archetypes.h"
#include "data/DataFileScope.h"
#include "data/EntityList.h"
#include "data/JsonError.h"
#include "data/Stream.h"
#include "data/TypeRegistry.h"
#include "input/InputSystem.h"
#include "render/Sprite.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <nlohmann/json.hpp>

#include <utility>

GLOAMER_REGISTER_COMPONENT(BehaviorButton, ctype::Behavior)

namespace
{
int s_hovered = 0;
// Set once a build of the dialog was tried, so missing archetypes are reported once
// per dialog rather than once per button.
bool s_dialogBuilt = false;

void ChangeSceneAction(BehaviorButton& b)
{
    SceneSystem::Instance().ChangeScene(b.GetRecipient(), b.UsesTransition());
}

void QuitAction(BehaviorButton&)
{
    Engine::Quit();
}

void MessageAction(BehaviorButton& b)
{
    MessageSystem::Instance().Send(Message(b.GetRecipient(), {}, 0.0f, true));
}

void CreateEntityAction(BehaviorButton& b)
{
    Entity* owner = b.GetOwner();
    Scene* scene = owner ? owner->GetScene() : nullptr;
    if (!scene)
        return;
    std::unique_ptr<Entity> created = CreateFromArchetype(b.GetRecipient(), true);
    if (!created)
    {
        ReportDataError(Stream::GetPath(b.GetRecipient(), EntityFile), "",
                        "button \"" + owner->GetName() + "\" cannot create this archetype; nothing is created");
        return;
    }
    scene->AddEntity(std::move(created));
}
} // namespace

EntityList& BehaviorButton::Dialog()
{
    // Not deferred: the dialog is built and emptied outside any scene update.
    static EntityList dialog(false);
    return dialog;
}

int BehaviorButton::HoveredCount()
{
    return s_hovered;
}

void BehaviorButton::ResetShared()
{
    TearDownDialog();
    s_hovered = 0;
}

const FieldDescriptor<BehaviorButton>& BehaviorButton::Descriptor()
{
    static const FieldDescriptor<BehaviorButton> descriptor("BehaviorButton",
                                                            {
                                                                GLOAMER_FIELD(BehaviorButton, _halfSize),
                                                                GLOAMER_FIELD(BehaviorButton, _offset),
                                                                GLOAMER_FIELD(BehaviorButton, _recipient),
                                                                GLOAMER_FIELD(BehaviorButton, _action),
                                                                GLOAMER_FIELD(BehaviorButton, _transition),
                                                                GLOAMER_FIELD(BehaviorButton, _confirm),
                                                                GLOAMER_FIELD(BehaviorButton, _confirmOffset),
                                                                GLOAMER_FIELD(BehaviorButton, _confirmScale),
                                                            });
    return descriptor;
}

BehaviorButton::BehaviorButton(const BehaviorButton& other)
    : ComponentBase<BehaviorButton, Behavior>(other), _halfSize(other._halfSize), _offset(other._offset),
      _recipient(other._recipient), _action(other._action), _transition(other._transition), _confirm(other._confirm),
      _confirmOffset(other._confirmOffset), _confirmScale(other._confirmScale), _clickdown(other._clickdown),
      _clickup(other._clickup), _hover(other._hover), _onAction(other._onAction)
{
}

void BehaviorButton::Read(const json& j)
{
    Behavior::Read(j);
    Descriptor().Read(*this, j);
    if (auto it = j.find("clickdown"); it != j.end())
        _clickdown.Read(*it);
    if (auto it = j.find("clickup"); it != j.end())
        _clickup.Read(*it);
    if (auto it = j.find("hover"); it != j.end())
        _hover.Read(*it);

    // Exact names only: "Quit" is not "quit".
    _onAction = nullptr;
    if (_action == "changescene")
        _onAction = &ChangeSceneAction;
    else if (_action == "createentity")
        _onAction = &CreateEntityAction;
    else if (_action == "quit")
        _onAction = &QuitAction;
    else if (_action == "message")
        _onAction = &MessageAction;
    else if (!_action.empty())
    {
        const auto it = j.find("action");
        ReportDataError(DataFileScope::Current(), it != j.end() ? JsonPathOf(*it) : JsonPathOf(j),
                        "unknown button action \"" + _action +
                            "\" (one of changescene, createentity, quit, message); the button does nothing");
    }
}

void BehaviorButton::Write(json& j) const
{
    Behavior::Write(j);
    Descriptor().Write(*this, j);
    _clickdown.Write(j["clickdown"]);
    _clickup.Write(j["clickup"]);
    _hover.Write(j["hover"]);
}

void BehaviorButton::Init()
{
    _transform = GetOwner() ? &GetOwner()->GetTransform() : nullptr;
    _stateNext = Idle;
    if (!s_dialogBuilt)
        BuildDialog();
    _clickdown.Set("clickdown", 1.0f, false, true);
    _clickup.Set("clickup", 1.0f, false, true);
    _hover.Set("button_hover", 1.0f, false, true);
}

void BehaviorButton::BuildDialog()
{
    s_dialogBuilt = true;
    EntityList& dialog = Dialog();
    for (const char* name : kDialogArchetypes)
    {
        std::unique_ptr<Entity> entity = CreateFromArchetype(name, true);
        if (!entity)
        {
            ReportDataError(Stream::GetPath(name, EntityFile), "", "the confirmation dialog goes without this entity");
            continue;
        }
        dialog.AddUninitialised(std::move(entity));
    }
    if (!dialog.Entities().empty())
        dialog.InitAll();
}

void BehaviorButton::TearDownDialog()
{
    EntityList& dialog = Dialog();
    dialog.ExitAll();
    // Destroyed entities leave at the start of the next update, before any component runs.
    for (const auto& e : dialog.Entities())
        e->Destroy();
    dialog.Update(0.0f);
    s_dialogBuilt = false;
}

bool BehaviorButton::IsDialogEntity() const
{
    const Entity* owner = GetOwner();
    if (!owner)
        return false;
    for (const auto& e : Dialog().Entities())
        if (e->GetName() == owner->GetName())
            return true;
    return false;
}

void BehaviorButton::Exit()
{
    // The dialog's own buttons leave the dialog alone.
    if (IsDialogEntity())
        return;
    if (s_dialogBuilt)
        TearDownDialog();
}

void BehaviorButton::RunAction()
{
    if (_onAction)
        _onAction(*this);
}

void BehaviorButton::SetSpriteAlpha(float alpha)
{
    if (Entity* owner = GetOwner())
        if (Sprite* sprite = owner->Get<Sprite>(ctype::Sprite))
        {
            glm::vec4 tint = sprite->GetTint();
            tint.a = alpha;
            sprite->SetTint(tint);
        }
}

void BehaviorButton::OnPress()
{
    if (_transform)
        _transform->SetScale(_transform->GetScale() * kPressScale);
}

void BehaviorButton::OnRelease()
{
    if (_transform)
        _transform->SetScale(_transform->GetScale() * kReleaseScale);
}

void BehaviorButton::OnHoverEnter()
{
    SetSpriteAlpha(kHoverAlpha);
}

void BehaviorButton::OnHoverExit()
{
    SetSpriteAlpha(1.0f);
}

void BehaviorButton::UpdateDialog(float dt)
{
    EntityList& dialog = Dialog();
    dialog.Update(dt);
    Scene* scene = GetOwner() ? GetOwner()->GetScene() : nullptr;
    if (scene)
        for (const auto& e : dialog.Entities())
            scene->AddDrawItem(e->Get<Sprite>(ctype::Sprite), e->GetTransform().GetMatrix());

    MessageSystem& messages = MessageSystem::Instance();
    if (messages.Get("ButtonConfirm", true))
    {
        _pressStarted = false;
        RunAction();
        _stateNext = Hovered;
        RestoreDialog();
    }
    else if (messages.Get("ButtonDecline", true))
    {
        _stateNext = Hovered;
        RestoreDialog();
    }
}

void BehaviorButton::OpenDialog()
{
    _stateNext = WaitingForDialog;
    for (const auto& e : Dialog().Entities())
    {
        Transform& t = e->GetTransform();
        t.SetTranslation(t.GetTranslation() * _confirmScale + _confirmOffset);
        t.SetScale(t.GetScale() * _confirmScale);
        if (auto* button = e->Get<BehaviorButton>(ctype::Behavior))
            button->_halfSize *= _confirmScale;
    }
}

void BehaviorButton::RestoreDialog()
{
    for (const auto& e : Dialog().Entities())
    {
        Transform& t = e->GetTransform();
        t.SetTranslation((t.GetTranslation() - _confirmOffset) / _confirmScale);
        t.SetScale(t.GetScale() / _confirmScale);
        if (auto* button = e->Get<BehaviorButton>(ctype::Behavior))
        {
            button->_halfSize /= _confirmScale;
            button->ForgetPointer();
        }
    }
}

void BehaviorButton::ForgetPointer()
{
    // A closed dialog is no longer updated, so its buttons would go on counting as
    // hovered (and stay faded or shrunk) until it opened again.
    const int next = _stateNext;
    if (next == Hovered || next == Pressed)
    {
        --s_hovered;
        OnHoverExit();
    }
    if (next == Pressed || next == PressedOutside)
        OnRelease();
    _state = _stateNext = Idle;
    _pressStarted = false;
}

void BehaviorButton::Update(float dt)
{
    Behavior::Update(dt);
    if (_state == NotStarted)
        return;
    if (_state == WaitingForDialog)
    {
        UpdateDialog(dt);
        // Clicks on the button itself wait until the dialog is answered: opening it a
        // second time, or leaving it open, would leave the shared dialog displaced.
        return;
    }

    const InputSystem& input = InputSystem::Instance();
    const bool released = input.IsReleased("click button");
    const bool held = input.IsDown("click button");
    const bool triggered = input.IsTriggered("click button");
    const glm::vec2 mouse = input.GetMouseWorldPosition();

    const glm::vec2 centre = (_transform ? _transform->GetTranslation() : glm::vec2(0.0f)) + _offset;
    const bool hit = centre.x - _halfSize.x < mouse.x && mouse.x < centre.x + _halfSize.x &&
                     centre.y - _halfSize.y < mouse.y && mouse.y < centre.y + _halfSize.y;

    if (hit)
    {
        if (_state == Idle)
        {
            // Dragged in with the button held: pressed, but this press did not start here.
            if (held)
            {
                _stateNext = Pressed;
                OnPress();
            }
            else
                _stateNext = Hovered;
            ++s_hovered;
            OnHoverEnter();
            _hover.Play();
        }
        else if (_state == PressedOutside)
        {
            ++s_hovered;
            _stateNext = Pressed;
            OnHoverEnter();
        }

        if (triggered)
        {
            _clickdown.Play();
            _stateNext = Pressed;
            _pressStarted = true;
            OnPress();
        }
        else if (released)
        {
            _clickup.Play();
            _stateNext = Hovered;
            OnRelease();
            if (_pressStarted && !_confirm)
            {
                _pressStarted = false;
                RunAction();
            }
            else if (_confirm)
                OpenDialog();
        }
        return;
    }

    if (_state == Hovered)
    {
        _stateNext = Idle;
        --s_hovered;
        OnHoverExit();
    }
    else if (_state == Pressed)
    {
        _stateNext = PressedOutside;
        --s_hovered;
        OnHoverExit();
    }
    if (_state == PressedOutside)
    {
        if (released)
        {
            _pressStarted = false;
            _stateNext = Idle;
            OnRelease();
        }
        else if (s_hovered >= 1)
        {
            // The pointer is over another button: this press is cancelled.
            _stateNext = Idle;
            OnRelease();
        }
    }
}
