#include "AudioTestSupport.h"

#include "audio/AudioSound.h"
#include "audio/SoundSystem.h"

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
} // namespace

TEST_F(SoundContentTest, EveryShippedSoundDecodesAsAShortMonoFile)
{
    SoundSystem& system = SoundSystem::Instance();
    ASSERT_TRUE(system.Init());
    ASSERT_GT(system.TableSize(), 0u);
    for (std::uint16_t index = 0; index < system.TableSize(); ++index)
    {
        const AudioSound* sound = system.GetSound(index);
        ASSERT_NE(sound, nullptr) << index;
        EXPECT_EQ(sound->GetChannels(), 1) << index;
        EXPECT_GT(sound->GetLength(), 0.05f) << index;
        EXPECT_LE(sound->GetLength(), 8.0f) << index;
    }
    EXPECT_TRUE(system.HasName("heartbeat"));

    std::uintmax_t bytes = 0;
    for (const auto& file : std::filesystem::directory_iterator("Assets/Sound"))
        bytes += file.file_size();
    EXPECT_LT(bytes, 5u * 1024 * 1024);

    // The committed table is already in the form the game writes back.
    const std::string committed = test::ReadFile("Data/Sound/sounds.json");
    system.Exit();
    EXPECT_EQ(test::ReadFile("Data/Sound/sounds.json"), committed);
}
