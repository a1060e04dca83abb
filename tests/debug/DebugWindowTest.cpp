#include "TestSupport.h"

#include "data/Entity.h"
#include "debug/DebugWindow.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace
{
std::string Box(const std::string& name, glm::vec2 at, glm::vec2 size, int depth, const std::string& components = "{}")
{
    return R"({"name": ")" + name + R"(", "transform": {"translation": {"x": )" + std::to_string(at.x) + R"(, "y": )" +
           std::to_string(at.y) + R"(}, "scale": {"x": )" + std::to_string(size.x) + R"(, "y": )" +
           std::to_string(size.y) + R"(}, "depth": )" + std::to_string(depth) + R"(}, "components": )" + components +
           "}";
}

std::string TreeOf(const Entity& entity)
{
    return "Sequence\n  " + entity.GetName();
}
} // namespace

class DebugWindowTest : public test::ScratchTest
{
protected:
    SceneSystem& _scenes = SceneSystem::Instance();
    DebugWindow _debugWindow;

    void SetUp() override
    {
        ScratchTest::SetUp();
        test::WriteFile("Data/Level/hall.json",
                        R"({"entities": [)" + Box("floor", {0, 0}, {1000, 1000}, 0) + ", " +
                            Box("crate", {100, 0}, {200, 100}, 5,
                                R"({"sprite": {"tint": {"r": 0.5, "g": 0.25, "b": 1, "a": 1}}})") +
                            ", " + Box("lamp", {150, -20}, {60, 60}, 5) + "]}");
        test::WriteFile("Data/Level/overlay.json", R"({"entities": [)" + Box("hint", {-400, 0}, {50, 50}, 50) + "]}");
        _scenes.AddScene(std::make_unique<Scene>("hall"));
        _scenes.AddScene(std::make_unique<Scene>("overlay"));
        for (const auto& scene : _scenes.GetScenes())
            scene->Init();
    }

    std::string NameAt(glm::vec2 world) const
    {
        const Entity* e = DebugWindow::EntityAt(_scenes, world);
        return e ? e->GetName() : "(none)";
    }
};

TEST_F(DebugWindowTest, TheTopmostEntityUnderThePointIsPicked)
{
    EXPECT_EQ(NameAt({-300, 300}), "floor");
    EXPECT_EQ(NameAt({20, 40}), "crate") << "higher depth covers the floor";
    EXPECT_EQ(NameAt({150, -10}), "lamp") << "same depth: the lower one is drawn last";
    EXPECT_EQ(NameAt({-400, 0}), "hint") << "any live scene";
    EXPECT_EQ(NameAt({600, 0}), "(none)");

    _debugWindow.Pick(_scenes, {20, 40});
    _debugWindow.Pick(_scenes, {900, 900});
    ASSERT_NE(_debugWindow.Picked(), nullptr);
    EXPECT_EQ(_debugWindow.Picked()->GetName(), "crate") << "empty ground keeps the last pick";
}

TEST_F(DebugWindowTest, TheViewListsScenesComponentsAndTheBehaviourTree)
{
    DebugWindow::View view = _debugWindow.Describe(_scenes);
    EXPECT_THAT(view._scenes, ElementsAre("hall (3 entities)", "overlay (1 entities)"));
    EXPECT_TRUE(view._entity.empty());

    _scenes.GetScenes()[1]->SetPaused(true);
    _debugWindow.Pick(_scenes, {20, 40});
    view = _debugWindow.Describe(_scenes);
    EXPECT_EQ(view._scenes[1], "overlay (1 entities, paused)");
    EXPECT_EQ(view._entity, "crate");
    ASSERT_EQ(view._components.size(), 2u);
    EXPECT_EQ(view._components[0].first, "transform");
    EXPECT_THAT(view._components[0].second, HasSubstr("\"depth\": 5"));
    EXPECT_EQ(view._components[1].first, "sprite");
    EXPECT_THAT(view._components[1].second, HasSubstr("\"g\": 0.25"));
    EXPECT_EQ(view._tree, DebugWindow::kNoTree);

    DebugWindow::SetTreeText(&TreeOf);
    EXPECT_EQ(_debugWindow.Describe(_scenes)._tree, "Sequence\n  crate");
    DebugWindow::SetTreeText(nullptr);
    EXPECT_EQ(_debugWindow.Describe(_scenes)._tree, DebugWindow::kNoTree);

    // A deleted pick is let go, not read.
    _scenes.GetScenes()[0]->GetEntities().FindByName("crate")->Destroy();
    _scenes.GetScenes()[0]->GetEntities().Update(0.0f);
    _scenes.GetScenes()[0]->GetEntities().Update(0.0f);
    EXPECT_EQ(_debugWindow.Picked(), nullptr);
    EXPECT_TRUE(_debugWindow.Describe(_scenes)._entity.empty());
}
