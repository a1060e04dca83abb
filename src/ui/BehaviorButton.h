#pragma once

#include "audio/Sound.h"
#include "behaviors/Behavior.h"

#include <glm/vec2.hpp>

#include <string>

class EntityList;
class Transform;

// Turns an entity into a clickable menu button: hit test against a rectangle around
// the entity, hover and press feedback, and one action on a completed click. A button
// may ask for confirmation first through the one dialog that all buttons share.
class BehaviorButton : public ComponentBase<BehaviorButton, Behavior>
{
public:
    enum State
    {
        NotStarted = 0,
        Idle = 1,
        Hovered = 2,
        Pressed = 3,
        PressedOutside = 4,
        WaitingForDialog = 5,
    };

    using Callback = void (*)(BehaviorButton& button);

    // The six dialog entities, in the order they are built and drawn.
    static constexpr const char* kDialogArchetypes[] = {"confirmBG",   "confirmationText", "confirmButton",
                                                        "confirmText", "declineButton",    "declineText"};
    static constexpr float kHoverAlpha = 0.69f;
    static constexpr float kPressScale = 0.9f;
    static constexpr float kReleaseScale = 1.111111f;

    BehaviorButton() = default;
    // The copy has no press under way and caches its own transform in Init.
    BehaviorButton(const BehaviorButton& other);

    // The Behavior keys, then the button's; then picks the action by its exact name.
    // An unknown name is reported (file and JSON path) and the button does nothing.
    void Read(const json& j) override;
    void Write(json& j) const override;
    void Init() override;
    void Update(float dt) override;
    void Exit() override;
    std::string_view GetName() const override { return "behaviorbutton"; }
    std::uint32_t GetFlags() const override { return (1u << ctype::Sprite) | (1u << ctype::Transform); }

    // Runs the action now, as a completed click would.
    void RunAction();

    bool IsPressStarted() const { return _pressStarted; }
    const glm::vec2& GetHalfSize() const { return _halfSize; }
    const std::string& GetAction() const { return _action; }
    const std::string& GetRecipient() const { return _recipient; }
    bool UsesTransition() const { return _transition; }
    bool HasAction() const { return _onAction != nullptr; }
    const Sound& GetClickDownSound() const { return _clickdown; }
    const Sound& GetHoverSound() const { return _hover; }

    // How many buttons have the pointer over them.
    static int HoveredCount();
    // The shared confirmation dialog; built by the first button's Init.
    static EntityList& Dialog();
    // Ends and deletes the dialog and zeroes the hover count (between tests and runs).
    static void ResetShared();

    static const FieldDescriptor<BehaviorButton>& Descriptor();

private:
    void OnPress();
    void OnRelease();
    void OnHoverEnter();
    void OnHoverExit();
    void SetSpriteAlpha(float alpha);

    void UpdateDialog(float dt);
    void OpenDialog();
    void RestoreDialog();
    // Back to idle, as if the pointer had left: for the dialog's buttons when it closes.
    void ForgetPointer();
    bool IsDialogEntity() const;

    static void BuildDialog();
    static void TearDownDialog();

    Transform* _transform = nullptr;
    bool _pressStarted = false;
    glm::vec2 _halfSize{50.0f, 50.0f};
    glm::vec2 _offset{0.0f, 0.0f};
    std::string _recipient;
    std::string _action;
    bool _transition = false;
    bool _confirm = false;
    glm::vec2 _confirmOffset{0.0f, 0.0f};
    glm::vec2 _confirmScale{1.0f, 1.0f};
    Sound _clickdown;
    Sound _clickup;
    Sound _hover;
    Callback _onAction = nullptr;
};
