#include "TestSupport.h"
#include "e2e/GameRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

// Short headless sessions that between them load the splash screen, the main menu,
// the level with its sub-scenes, the credits, and an end screen left with a key.
const char* const kSessions[] = {
    "--fixed-dt 0.5 --frames 24",
    "--fixed-dt 0.05 --frames 20 --scene level1",
    "--fixed-dt 0.05 --frames 10 --scene credits",
    "--fixed-dt 0.25 --frames 24 --input key.json --scene win_scene",
};

// The level a session starts with: the one after --scene, else the splash screen.
std::string FirstScene(const std::string& flags)
{
    const auto at = flags.find("--scene ");
    return "Data/Level/" + (at == std::string::npos ? "splash_screen" : flags.substr(at + 8)) + ".json";
}

std::set<std::string> Lines(const std::string& text)
{
    std::set<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.insert(line);
    return lines;
}

// The game in a copy of the content tree with one file at a time taken away: whatever
// is missing, the game reports it by name and either goes on or stops with status 1;
// it never crashes.
class ContentDeletionTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        fs::copy(GLOAMER_CONTENT, _scratch / "game", fs::copy_options::recursive);
        // Space at four seconds, once the end screen listens.
        test::WriteFile("key.json", R"([{"frame": 16, "press": [32]}, {"frame": 17, "release": [32]}])");
        for (const char* session : kSessions)
        {
            ASSERT_EQ(Session(session), 0) << "the whole tree must run cleanly first:\n" << Output();
            _baseline.push_back(Lines(Output()));
        }
    }

    int Session(const std::string& flags, int* signal = nullptr)
    {
        return e2e::RunGame("--data " + (_scratch / "game").string() + " --headless --seed 3 " + flags, "output.txt",
                            signal);
    }

    std::string Output() const { return test::ReadFile(_scratch / "output.txt"); }

    // The files of a content folder with one of the extensions, relative to the root.
    std::vector<std::string> Files(const std::string& folder, const std::set<std::string>& extensions) const
    {
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(_scratch / "game" / folder))
            if (entry.is_regular_file() && extensions.count(entry.path().extension().string()))
                files.push_back(folder + "/" + entry.path().filename().string());
        std::sort(files.begin(), files.end());
        return files;
    }

    void WithEachRemoved(const std::vector<std::string>& files)
    {
        ASSERT_FALSE(files.empty());
        for (const std::string& file : files)
        {
            const fs::path path = _scratch / "game" / file;
            fs::rename(path, _scratch / "held");
            for (std::size_t i = 0; i < std::size(kSessions); ++i)
                CheckSession(file, i);
            // The game may have written the file afresh at exit; the original goes back.
            fs::rename(_scratch / "held", path);
        }
    }

    void CheckSession(const std::string& file, std::size_t session)
    {
        int signal = 0;
        const int status = Session(kSessions[session], &signal);
        const std::string output = Output();
        SCOPED_TRACE(file + " removed, session \"" + kSessions[session] + "\"\n" + output);
        ASSERT_EQ(signal, 0) << "killed by signal " << signal;
        ASSERT_TRUE(status == 0 || status == 1) << "status " << status;
        // Anything the undamaged run did not say is about the missing file, and names it.
        bool named = false;
        bool news = false;
        for (const std::string& line : Lines(output))
            if (!_baseline[session].count(line))
            {
                news = true;
                named = named || line.find(file) != std::string::npos;
            }
        if (status == 1)
        {
            EXPECT_TRUE(named) << "the game stopped without naming the file";
            EXPECT_TRUE(file == FirstScene(kSessions[session]) || file == "Data/Sound/sounds.json")
                << "the game stopped although it can go on without this file";
        }
        else if (news)
        {
            EXPECT_TRUE(named) << "the new messages do not name the file";
        }
    }

    std::vector<std::set<std::string>> _baseline;
};
} // namespace

TEST_F(ContentDeletionTest, AMissingLevelIsReportedByNameAndOnlyTheFirstSceneStopsTheGame)
{
    WithEachRemoved(Files("Data/Level", {".json"}));
}

TEST_F(ContentDeletionTest, AMissingArchetypeIsReportedByName)
{
    WithEachRemoved(Files("Data/Entity", {".json"}));
}

TEST_F(ContentDeletionTest, AMissingSoundFileOrSoundTableIsReportedByName)
{
    std::vector<std::string> files = Files("Assets/Sound", {".ogg", ".wav"});
    files.push_back("Data/Sound/sounds.json");
    WithEachRemoved(files);
}
