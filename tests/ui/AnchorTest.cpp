#include "TestSupport.h"

#include "core/Screen.h"
#include "data/Entity.h"
#include "ui/Anchor.h"

namespace
{
Screen::Size Big()
{
    return {3840, 2160};
}
} // namespace

using AnchorTest = test::ScratchTest;

TEST_F(AnchorTest, KeepsDesignSpacePositionsOnAnyMonitorAndPinsItsEntityWhileEnabled)
{
    Screen::SetQueries(&Big, &Big);
    Entity e;
    e.Read(json::parse(R"({"transform": {"translation": {"x": 5, "y": 6}},
                           "components": {"anchor": {"percentx": -1, "percenty": 1}}})"));
    auto* anchor = e.Get<Anchor>(ctype::Anchor);
    ASSERT_NE(anchor, nullptr);
    anchor->Init();
    anchor->Update(0.0f);
    EXPECT_EQ(e.GetTransform().GetTranslation(), glm::vec2(-960.0f, 540.0f));

    anchor->SetEnabled(false);
    e.GetTransform().SetTranslation({5.0f, 6.0f});
    anchor->Update(0.0f);
    EXPECT_EQ(e.GetTransform().GetTranslation(), glm::vec2(5.0f, 6.0f));

    EXPECT_EQ(Anchor::Placement(1.0f, -1.0f, 1920, 1080, 1920), glm::vec2(960.0f, -540.0f));
    EXPECT_EQ(Anchor::Placement(1.0f, -1.0f, 3840, 2160, 3840), glm::vec2(960.0f, -540.0f));
    EXPECT_EQ(Anchor::Placement(0.5f, 0.5f, 0, 0, 1920), glm::vec2(0.0f, 0.0f)) << "no window";
}
