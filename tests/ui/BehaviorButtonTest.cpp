#include "audio/AudioTestSupport.h"

#include "audio/SoundSystem.h"
#include "core/MainLoop.h"
#include "core/MessageSystem.h"
#include "core/Screen.h"
#include "data/EntityList.h"
#include "input/InputSystem.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"
#include "ui/BehaviorButton.h"

#include <memory>
#include <vector>

using nlohmann::json;

namespace
{
Screen::Size DesignWindow()
{
    return {1920, 1080};
}

// The dialog's base layout: a backdrop and two buttons below its centre.
void WriteDialogArchetypes()
{
    const json parts = json::parse(R"([["confirmBG", 0, 0, ""], ["confirmationText", 0, 50, ""],
        ["confirmButton", -100, -50, "ButtonConfirm"], ["confirmText", -100, -50, ""],
        ["declineButton", 100, -50, "ButtonDecline"], ["declineText", 100, -50, ""]])");
    for (const json& part : parts)
    {
        json e = {
            {"name", part[0]},
            {"transform", {{"translation", {{"x", part[1]}, {"y", part[2]}}}, {"scale", {{"x", 400}, {"y", 200}}}}},
            {"components", json::object()}};
        if (part[3] != "")
            e["components"]["behaviorbutton"] = {
                {"halfsize", {{"x", 60}, {"y", 20}}}, {"action", "message"}, {"recipient", part[3]}};
        if (part[0] == "confirmBG")
            e["components"]["sprite"] = json::object();
        test::WriteFile("Data/Entity/" + part[0].get<std::string>() + ".json", e.dump());
    }
}

class BehaviorButtonTest : public test::AudioTest
{
protected:
    void SetUp() override
    {
        test::AudioTest::SetUp();
        Screen::SetQueries(&DesignWindow, &DesignWindow);
        InputSystem::Instance().LoadBindings(json::parse(R"({"keys": {"click button": [0]}})"), "bindings");
        test::WriteSoundTable(json::array({{"clickdown", 2.0}, {"clickup", 2.0}, {"button_hover", 2.0}}));
        ASSERT_TRUE(SoundSystem::Instance().Init());
        WriteDialogArchetypes();
        test::WriteFile("Data/Level/menu.json", R"({"entities": []})");
        _scene = std::make_unique<Scene>("menu");
    }

    void TearDown() override
    {
        for (auto& e : _entities)
            e->Exit();
        _entities.clear();
        _scene.reset();
        SoundSystem::Instance().Exit();
        test::AudioTest::TearDown();
    }

    // A button entity at (x, y) with a 100 x 60 hit rectangle.
    BehaviorButton& Add(const std::string& name, float x, float y, const std::string& settings)
    {
        auto e = std::make_unique<Entity>(name);
        e->Read(json::parse(
            R"({"transform": {"translation": {"x": )" + std::to_string(x) + R"(, "y": )" + std::to_string(y) +
            R"(}}, "components": {"behaviorbutton": {"halfsize": {"x": 50, "y": 30}, )" + settings + "}}}"));
        e->SetScene(_scene.get());
        e->Init();
        _entities.push_back(std::move(e));
        return *_entities.back()->Get<BehaviorButton>(ctype::Behavior);
    }

    // The cursor over the world point (x, y) of an unmoved camera.
    static void Point(float x, float y) { InputSystem::Instance().SetCursor(960.0f + x, 540.0f - y); }
    static void Press() { InputSystem::Instance().HandleButton(0, InputSystem::kPress); }
    static void Release() { InputSystem::Instance().HandleButton(0, InputSystem::kRelease); }

    // Every button in creation order; what they post can be looked at until EndFrame.
    void Step()
    {
        for (auto& e : _entities)
            for (const auto& c : e->Components())
                c->Update(1.0f / 60.0f);
    }

    static void EndFrame()
    {
        InputSystem::Instance().Update(0.0f);
        MessageSystem::Instance().Update(0.0f);
    }

    void Frame()
    {
        Step();
        EndFrame();
    }

    // Posted this frame and not yet taken down.
    static bool Posted(const std::string& name) { return MessageSystem::Instance().Get(name) != nullptr; }

    static Entity& DialogEntity(const std::string& name)
    {
        Entity* e = BehaviorButton::Dialog().FindByName(name);
        EXPECT_NE(e, nullptr) << name;
        return *e;
    }

    std::unique_ptr<Scene> _scene;
    std::vector<std::unique_ptr<Entity>> _entities;
};

TEST_F(BehaviorButtonTest, APressThatMovesToAnotherButtonRunsNeitherAndTheHeldHoverMakesNoClick)
{
    BehaviorButton& a = Add("a", 0, 0, R"("action": "message", "recipient": "A")");
    BehaviorButton& b = Add("b", 300, 0, R"("action": "message", "recipient": "B")");
    Transform& aSize = a.GetOwner()->GetTransform();
    Transform& bSize = b.GetOwner()->GetTransform();

    Point(10, 10);
    Frame();
    EXPECT_EQ(a.GetStateNext(), BehaviorButton::Hovered);
    EXPECT_TRUE(a.GetHoverSound().IsPlaying());
    EXPECT_EQ(BehaviorButton::HoveredCount(), 1);

    Press();
    Frame();
    EXPECT_TRUE(a.IsPressStarted());
    EXPECT_TRUE(a.GetClickDownSound().IsPlaying());
    EXPECT_FLOAT_EQ(aSize.GetScale().x, 0.9f);

    // Dragged onto B with the button still held.
    Point(310, 0);
    Frame();
    EXPECT_EQ(a.GetStateNext(), BehaviorButton::PressedOutside);
    EXPECT_EQ(b.GetStateNext(), BehaviorButton::Pressed);
    EXPECT_FALSE(b.IsPressStarted()) << "the press began elsewhere";
    EXPECT_FALSE(b.GetClickDownSound().IsPlaying());
    EXPECT_FLOAT_EQ(bSize.GetScale().x, 0.9f) << "it still shrinks";

    Frame();
    EXPECT_EQ(a.GetStateNext(), BehaviorButton::Idle) << "A lets go once another button is hovered";
    EXPECT_NEAR(aSize.GetScale().x, 1.0f, 1e-5f);

    Release();
    Step();
    EXPECT_FALSE(Posted("A"));
    EXPECT_FALSE(Posted("B"));
    EXPECT_EQ(b.GetStateNext(), BehaviorButton::Hovered);
    EXPECT_NEAR(bSize.GetScale().x, 1.0f, 1e-5f);

    // A whole click on B does run its action.
    EndFrame();
    Press();
    Frame();
    Release();
    Step();
    EXPECT_TRUE(Posted("B"));
    EXPECT_TRUE(MessageSystem::Instance().Get("B")->_removeWhenRead);
    EXPECT_FALSE(b.IsPressStarted());
}

TEST_F(BehaviorButtonTest, AConfirmButtonOpensTheDialogForAnyReleaseAndPutsItBackExactly)
{
    BehaviorButton& quit = Add("quit", 0, -300,
                               R"("action": "message", "recipient": "Leave", "confirm": true,
                                  "confirmoffset": {"x": 30, "y": 200}, "confirmscale": {"x": 1.5, "y": 0.75})");
    ASSERT_EQ(BehaviorButton::Dialog().Entities().size(), 6u);
    std::vector<std::pair<glm::vec2, glm::vec2>> base;
    for (const auto& e : BehaviorButton::Dialog().Entities())
        base.emplace_back(e->GetTransform().GetTranslation(), e->GetTransform().GetScale());

    // The press starts on empty space and is released over the button.
    Point(0, 200);
    Press();
    Frame();
    Point(0, -300);
    Frame();
    EXPECT_EQ(quit.GetStateNext(), BehaviorButton::Pressed);
    Release();
    Frame();
    ASSERT_EQ(quit.GetStateNext(), BehaviorButton::WaitingForDialog);
    EXPECT_FALSE(Posted("Leave"));

    Entity& no = DialogEntity("declineButton");
    EXPECT_EQ(no.GetTransform().GetTranslation(), glm::vec2(100 * 1.5f + 30, -50 * 0.75f + 200));
    EXPECT_EQ(no.GetTransform().GetScale(), glm::vec2(600.0f, 150.0f));
    EXPECT_EQ(no.Get<BehaviorButton>(ctype::Behavior)->GetHalfSize(), glm::vec2(90.0f, 15.0f));

    // Clicking the displaced "no" button declines: nothing runs, all goes back.
    Point(180, 162.5f);
    Frame();
    Press();
    Frame();
    Release();
    Frame();
    EXPECT_FALSE(Posted("Leave"));
    EXPECT_EQ(quit.GetStateNext(), BehaviorButton::Hovered);
    for (std::size_t i = 0; i < base.size(); ++i)
    {
        const Transform& t = BehaviorButton::Dialog().Entities()[i]->GetTransform();
        EXPECT_NEAR(t.GetTranslation().x, base[i].first.x, 1e-4f) << i;
        EXPECT_NEAR(t.GetTranslation().y, base[i].first.y, 1e-4f) << i;
        EXPECT_NEAR(t.GetScale().x, base[i].second.x, 1e-3f) << i;
        EXPECT_NEAR(t.GetScale().y, base[i].second.y, 1e-3f) << i;
    }
    EXPECT_EQ(no.Get<BehaviorButton>(ctype::Behavior)->GetHalfSize(), glm::vec2(60.0f, 20.0f));
    Point(0, 0);
    Frame();
    EXPECT_EQ(BehaviorButton::HoveredCount(), 0) << "the closed dialog's \"no\" no longer counts as hovered";

    // Open it again and confirm this time: the action runs once the dialog says so.
    Point(0, -300);
    Frame();
    Press();
    Frame();
    Release();
    Frame();
    ASSERT_EQ(quit.GetStateNext(), BehaviorButton::WaitingForDialog);
    const std::size_t drawn = _scene->GetDrawItems().size();
    Frame();
    EXPECT_EQ(_scene->GetDrawItems().size(), drawn + 1) << "the backdrop, the one dialog part with a sprite";
    Point(-150 + 30, 162.5f);
    Frame();
    Press();
    Frame();
    Release();
    Step();
    EXPECT_TRUE(Posted("Leave"));
    EXPECT_EQ(DialogEntity("confirmButton").GetTransform().GetTranslation(), glm::vec2(-100.0f, -50.0f));
}

TEST_F(BehaviorButtonTest, ActionsAreChosenByExactNameAndBadOnesAreReportedAndSkipped)
{
    std::filesystem::remove("Data/Entity/confirmationText.json");
    test::WriteFile("Data/Entity/ghost.json", R"({"name": "ghost"})");
    BehaviorButton& loud = Add("loud", 0, 0, R"("action": "Quit")");
    EXPECT_EQ(BehaviorButton::Dialog().Entities().size(), 5u) << "the dialog goes without the missing part";
    loud.RunAction();
    EXPECT_TRUE(Engine::IsRunning()) << "\"Quit\" is not \"quit\"";

    Add("spawn", 0, 0, R"("action": "createentity", "recipient": "ghost")").RunAction();
    Add("missing", 0, 0, R"("action": "createentity", "recipient": "wraith")").RunAction();
    EXPECT_EQ(_scene->GetEntities().PendingCount(), 1u);
    Add("go", 0, 0, R"("action": "changescene", "recipient": "level1")").RunAction();
    EXPECT_EQ(SceneSystem::Instance().GetRequestedScene(), "level1");
    auto copy = Add("quit", 0, 0, R"("action": "quit")").Clone();
    static_cast<BehaviorButton&>(*copy).RunAction();
    EXPECT_FALSE(Engine::IsRunning()) << "a copy keeps its action";

    const std::string trace = test::ReadTrace();
    for (const char* line : {"/components/behaviorbutton/action: unknown button action \"Quit\"",
                             "Data/Entity/wraith.json: button \"missing\" cannot create this archetype",
                             "Data/Entity/confirmationText.json: the confirmation dialog goes without this entity"})
        EXPECT_EQ(test::Count(trace, line), 1u) << line << "\n" << trace;

    // A scene button's Exit takes the dialog down; the next Init builds it again.
    _entities.front()->Exit();
    EXPECT_TRUE(BehaviorButton::Dialog().Entities().empty());
    Add("again", 0, 0, R"("action": "quit")");
    EXPECT_EQ(BehaviorButton::Dialog().Entities().size(), 5u);
}
} // namespace
