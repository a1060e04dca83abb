#include "audio/AudioTestSupport.h"

#include "audio/SoundSystem.h"
#include "behaviors/BehaviorMenuMusic.h"
#include "behaviors/items/ObjectiveSystem.h"
#include "data/Entity.h"

namespace
{
class MenuMusicTest : public test::AudioTest
{
protected:
    void SetUp() override
    {
        test::AudioTest::SetUp();
        test::WriteSoundTable(json::array({{"level1amb", 3.0}, {"gloamermaintheme", 3.0}, {"unheard", 0.2}}));
        ASSERT_TRUE(SoundSystem::Instance().Init());
    }

    static std::unique_ptr<Entity> Menu()
    {
        auto menu =
            Entity::FromJson(json::parse(R"({"name": "music", "components": {"behaviormenumusic": {}}})"), "test");
        if (!menu)
            throw std::runtime_error("no menu music component");
        return menu;
    }
};
} // namespace

TEST_F(MenuMusicTest, TheThemeCarriesAcrossMenusAndLeavingOneStopsItAndLoadsEverySound)
{
    ObjectiveSystem& objectives = ObjectiveSystem::Instance();
    ASSERT_TRUE(objectives.Init());
    objectives.Ambient().Pause(false);

    auto first = Menu();
    first->Init();
    const AudioChannel playing = objectives.Theme().GetChannel();
    EXPECT_TRUE(objectives.Theme().IsPlaying());
    EXPECT_TRUE(objectives.Ambient().IsPaused()) << "no level ambience under the menu";

    auto second = Menu();
    second->Init();
    EXPECT_EQ(objectives.Theme().GetChannel()._generation, playing._generation) << "not restarted";

    EXPECT_EQ(SoundSystem::Instance().GetEntry(2)->_sound, nullptr) << "never played yet";
    second->Exit();
    EXPECT_FALSE(objectives.Theme().IsPlaying());
    EXPECT_FALSE(objectives.Theme().InPlayingList());
    for (std::uint16_t i = 0; i < SoundSystem::Instance().TableSize(); ++i)
        EXPECT_NE(SoundSystem::Instance().GetEntry(i)->_sound, nullptr) << "entry " << i;

    // The next menu starts the theme again from the top.
    auto third = Menu();
    third->Init();
    EXPECT_TRUE(objectives.Theme().IsPlaying());
    EXPECT_NE(objectives.Theme().GetChannel()._generation, playing._generation);
}
