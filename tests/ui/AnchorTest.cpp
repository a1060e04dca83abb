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

TEST(AnchorPlacement, KeepsDesignSpacePositionsOnAnyMonitor)
{
    EXPECT_EQ(Anchor::Placement(1.0f, -1.0f, 1920, 1080, 1920), glm::vec2(960.0f, -540.0f));
    EXPECT_EQ(Anchor::Placement(1.0f, -1.0f, 3840, 2160, 3840), glm::vec2(960.0f, -540.0f));
    EXPECT_EQ(Anchor::Placement(0.5f, 0.5f, 0, 0, 1920), glm::vec2(0.0f, 0.0f)) << "no window";
}

class AnchorTest : public test::ScratchTest
{
};

TEST_F(AnchorTest, PinsItsEntityEachUpdateWhileEnabled)
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
}

TEST_F(AnchorTest, WritesItsKeysAndClonesItsValues)
{
    Anchor anchor;
    anchor.Read(json::parse(R"({"percentx": 0.25, "enabled": false})"));
    json j;
    anchor.Write(j);
    EXPECT_EQ(j, json::parse(R"({"percentx": 0.25, "percenty": 0.0, "enabled": false})"));
    auto copy = anchor.Clone();
    EXPECT_FALSE(static_cast<Anchor*>(copy.get())->IsEnabled());
    EXPECT_FLOAT_EQ(static_cast<Anchor*>(copy.get())->GetPercentX(), 0.25f);
}
