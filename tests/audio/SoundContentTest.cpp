#include "AudioTestSupport.h"

#include "audio/AudioSound.h"
#include "audio/SoundSystem.h"

#include <set>

namespace
{
class SoundContentTest : public test::AudioTest
{
protected:
    void SetUp() override
    {
        test::AudioTest::SetUp();
        const std::filesystem::path content = GLOAMER_CONTENT;
        for (const char* folder : {"Data/Sound", "Assets/Sound"})
        {
            std::filesystem::create_directories(folder);
            std::filesystem::copy(content / folder, folder, std::filesystem::copy_options::recursive);
        }
    }
};

// Every sound the game asks for by name.
const char* const kNames[] = {
    "footsteps_med",   "footsteps_fast",   "trap_place",      "trap_placing",   "lightbuzz",      "monster_scream3",
    "monster_scream4", "monster_scream5",  "footsteps_heavy", "heartbeat",      "explosion",      "rumblinglong",
    "rumbling",        "crackinglong",     "shatter1",        "beartrap_close", "level1amb",      "level1item1",
    "level1item2",     "level1item3",      "level1item4",     "level1_riser1",  "level1_riser2",  "level1_riser3",
    "level1_riser4",   "gloamermaintheme", "ominous",         "click0",         "aperture_flash", "wood_break",
    "bump_1",          "clickdown",        "clickup",         "button_hover"};
const std::set<std::string> kMusic = {"level1amb",     "level1item1",      "level1item2",   "level1item3",
                                      "level1item4",   "level1_riser1",    "level1_riser2", "level1_riser3",
                                      "level1_riser4", "gloamermaintheme", "ominous"};
} // namespace

TEST_F(SoundContentTest, EveryNamedSoundIsInTheTableAndDecodesAsAShortMonoFile)
{
    SoundSystem& system = SoundSystem::Instance();
    ASSERT_TRUE(system.Init());
    for (const char* name : kNames)
    {
        ASSERT_TRUE(system.HasName(name)) << name;
        const std::uint16_t index = system.FindIndex(name);
        EXPECT_EQ(system.GetEntry(index)->_category != 0, kMusic.contains(name)) << name;
        const AudioSound* sound = system.GetSound(index);
        ASSERT_NE(sound, nullptr) << name;
        EXPECT_EQ(sound->GetChannels(), 1) << name;
        EXPECT_GT(sound->GetLength(), 0.05f) << name;
        EXPECT_LE(sound->GetLength(), 8.0f) << name;
    }

    std::uintmax_t bytes = 0;
    for (const auto& file : std::filesystem::directory_iterator("Assets/Sound"))
        bytes += file.file_size();
    EXPECT_LT(bytes, 5u * 1024 * 1024);

    // The committed table is already in the form the game writes back.
    const std::string committed = test::ReadFile("Data/Sound/sounds.json");
    system.Exit();
    EXPECT_EQ(test::ReadFile("Data/Sound/sounds.json"), committed);
}
