#include "TestSupport.h"

#include "core/MessageSystem.h"
#include "data/Entity.h"
#include "input/InputSystem.h"
#include "render/Sprite.h"
#include "ui/ProgressBar.h"
#include "ui/ToolTip.h"

#include <glm/vec2.hpp>

namespace
{
// The centre and size a matrix of Translate x Scale gives.
glm::vec2 Centre(const glm::mat4& m)
{
    return {m[3][0], m[3][1]};
}
glm::vec2 Size(const glm::mat4& m)
{
    return {m[0][0], m[1][1]};
}
} // namespace

class UiPieceTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        CopyContent();
    }

    template <typename T> T& Make(Entity& entity, const std::string& jsonText)
    {
        auto component = std::make_unique<T>();
        component->Read(json::parse(jsonText));
        T& ref = *component;
        entity.AddComponent(std::move(component));
        entity.Init();
        return ref;
    }

    static void PostPlayerAt(const glm::vec2& position)
    {
        MessageSystem::Instance().Send(Message("playerdata", {position, glm::vec2(0.0f), 12, 1.0f}));
    }
};

TEST_F(UiPieceTest, AProgressBarFillsFromItsLeftOrBottomEdgeAndNeverPastFull)
{
    Entity e;
    e.GetTransform().SetTranslation({200.0f, 100.0f});
    ProgressBar& bar = Make<ProgressBar>(e, R"({"scale": {"x": 100, "y": 10}})");
    ASSERT_NE(bar.GetFillSprite(), nullptr) << "missing sprites come from default_sprite";
    ASSERT_NE(bar.GetBackgroundSprite(), nullptr);

    bar.Update(0.0f);
    EXPECT_FALSE(bar.IsVisible()) << "an empty bar is not drawn";

    bar.SetValue(0.5f);
    bar.Update(0.0f);
    EXPECT_TRUE(bar.IsVisible());
    EXPECT_EQ(Centre(bar.GetFillMatrix()), glm::vec2(175.0f, 100.0f));
    EXPECT_EQ(Size(bar.GetFillMatrix()), glm::vec2(50.0f, 10.0f));
    EXPECT_EQ(Centre(bar.GetBackgroundMatrix()), glm::vec2(200.0f, 100.0f));
    EXPECT_EQ(Size(bar.GetBackgroundMatrix()), glm::vec2(100.0f, 10.0f));

    bar.SetValue(1.7f);
    bar.Update(0.0f);
    EXPECT_FLOAT_EQ(bar.GetValue(), 1.0f);
    EXPECT_EQ(Size(bar.GetFillMatrix()), glm::vec2(100.0f, 10.0f));
    EXPECT_EQ(Centre(bar.GetFillMatrix()), glm::vec2(200.0f, 100.0f));

    // Upwards, from a bar offset from its entity, with a border inset of half its width.
    Entity v;
    ProgressBar& up =
        Make<ProgressBar>(v, R"({"translation": {"x": 0, "y": 20}, "scale": {"x": 10, "y": 100}, "vertical": true,
              "borderwidth": 4, "forcerun": true})");
    up.Update(0.0f);
    EXPECT_TRUE(up.IsVisible()) << "forced to draw while empty";
    up.SetValue(0.25f);
    up.Update(0.0f);
    EXPECT_EQ(Size(up.GetFillMatrix()), glm::vec2(10.0f, 25.0f));
    EXPECT_EQ(Centre(up.GetFillMatrix()), glm::vec2(0.0f, 20.0f - 50.0f + 12.5f + 2.0f));

    // A copy owns sprites of its own.
    auto copy = bar.Clone();
    EXPECT_NE(static_cast<ProgressBar&>(*copy).GetFillSprite(), bar.GetFillSprite());
    json j;
    bar.Write(j);
    EXPECT_TRUE(j.contains("fillsprite"));
    EXPECT_EQ(j["scale"], json::parse(R"({"x": 100.0, "y": 10.0})"));
}

TEST_F(UiPieceTest, ToolTipsShowNearThePlayerUnderTheMouseOrForAWhileAfterATrigger)
{
    Entity near;
    near.GetTransform().SetTranslation({500.0f, 0.0f});
    ToolTip& nearTip = Make<ToolTip>(near, R"({"type": 0, "distance": 100, "translationdist": {"x": 0, "y": 40}})");
    PostPlayerAt({420.0f, 0.0f});
    nearTip.Update(0.0f);
    EXPECT_TRUE(nearTip.IsVisible());
    EXPECT_EQ(Centre(nearTip.GetBackgroundMatrix()), glm::vec2(500.0f, 40.0f));
    PostPlayerAt({400.0f, 0.0f});
    nearTip.Update(0.0f);
    EXPECT_FALSE(nearTip.IsVisible()) << "exactly at the distance is too far";

    Entity hover;
    hover.GetTransform().SetScale({100.0f, 50.0f});
    ToolTip& hoverTip = Make<ToolTip>(hover, R"({"type": 1})");
    InputSystem::Instance().SetCursor(960.0f + 49.0f, 540.0f - 24.0f);
    hoverTip.Update(0.0f);
    EXPECT_TRUE(hoverTip.IsVisible());
    InputSystem::Instance().SetCursor(960.0f + 49.0f, 540.0f - 25.0f);
    hoverTip.Update(0.0f);
    EXPECT_FALSE(hoverTip.IsVisible()) << "the edge is outside";

    Entity timed;
    ToolTip& timedTip = Make<ToolTip>(timed, R"({"type": 2, "displaytime": 2})");
    timedTip.Update(0.5f);
    EXPECT_FALSE(timedTip.IsVisible()) << "only a trigger shows a timed tip";
    timedTip.ShowText("I cant use this yet");
    EXPECT_EQ(timedTip.GetFillSprite()->GetText(), "I cant use this yet");
    timedTip.Update(0.0f);
    ASSERT_TRUE(timedTip.IsVisible());
    timedTip.Update(1.0f);
    EXPECT_FLOAT_EQ(timedTip.GetRise(), 30.0f);
    EXPECT_FLOAT_EQ(Centre(timedTip.GetFillMatrix()).y, 30.0f) << "both sprites rise";
    timedTip.Update(0.5f);
    EXPECT_FLOAT_EQ(timedTip.GetRise(), 45.0f);
    EXPECT_TRUE(timedTip.IsVisible());
    timedTip.Update(0.5f);
    EXPECT_FALSE(timedTip.IsVisible()) << "hidden after two seconds";
    EXPECT_FLOAT_EQ(timedTip.GetRise(), 0.0f);
}

TEST_F(UiPieceTest, WithoutTheDefaultSpriteArchetypeThePiecesDrawNothingButKeepWorking)
{
    std::filesystem::remove("Data/Entity/default_sprite.json");
    Entity e, f;
    ProgressBar& bar = Make<ProgressBar>(e, R"({"scale": {"x": 100, "y": 10}})");
    ToolTip& tip = Make<ToolTip>(f, R"({"type": 2})");
    EXPECT_EQ(bar.GetFillSprite(), nullptr);
    bar.SetValue(0.5f);
    bar.Update(0.0f);
    bar.Render();
    tip.ShowText("nothing to draw it on");
    tip.Update(0.1f);
    tip.Render();
    EXPECT_EQ(test::Count(test::ReadTrace(), "Data/Entity/default_sprite.json: no default sprite; a bar or tip "
                                             "without sprites of its own is not drawn"),
              2u)
        << "once for each piece";
}
