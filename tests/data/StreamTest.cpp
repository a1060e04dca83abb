#include "TestSupport.h"

#include "core/AtomicFile.h"
#include "data/DataPath.h"
#include "data/Stream.h"

#include <filesystem>
#include <unistd.h>

using StreamTest = test::ScratchTest;

TEST_F(StreamTest, OpensByKindParsesOnceAndReportsMalformedJsonOnce)
{
    EXPECT_EQ(Stream::GetPath("vsync", DataFile), "Data/Data/dat_vsync.json");
    EXPECT_EQ(Stream::GetPath("x", 10), "");
    test::WriteFile("Data/Data/dat_x.json", R"({"vsync": 1})");
    Stream stream("x", DataFile);
    ASSERT_TRUE(stream.IsOpen());
    EXPECT_EQ(stream.GetJson()["vsync"], 1);
    test::WriteFile("Data/Data/dat_x.json", R"({"vsync": 0})");
    EXPECT_EQ(stream.GetJson()["vsync"], 1) << "the second call returns the kept value";

    test::WriteFile("plain.txt", "[1, 2]");
    Stream raw("plain.txt", RawPath);
    ASSERT_TRUE(raw.IsOpen());
    EXPECT_EQ(raw.GetJson().size(), 2u);

    EXPECT_FALSE(Stream("absent", LevelFile).IsOpen());
    test::WriteFile("x", "{}");
    EXPECT_FALSE(Stream("x", 10).IsOpen()) << "unknown kinds open nothing";

    test::WriteFile("Data/Level/bad.json", R"({"entities": [)");
    Stream bad("bad", LevelFile);
    ASSERT_TRUE(bad.IsOpen());
    EXPECT_TRUE(bad.GetJson().is_null());
    EXPECT_TRUE(bad.GetJson().is_null());
    EXPECT_FALSE(bad.HasJson());
    const std::string trace = test::ReadTrace();
    EXPECT_NE(trace.find("Data/Level/bad.json: parse error"), std::string::npos) << trace;
    EXPECT_EQ(trace.find("parse error"), trace.rfind("parse error")) << "reported once";
}

TEST_F(StreamTest, NamesStayInsideTheContentRootAndAtomicWritesReplaceWholeFilesOnly)
{
    test::WriteFile("Data/secret.json", "{}");
    std::filesystem::create_directories("Data/Level");
    EXPECT_FALSE(Stream("../secret", LevelFile).IsOpen());
    EXPECT_TRUE(Stream("Data/../Data/secret.json", RawPath).IsOpen()) << "raw paths come from the program";

    for (const char* inside : {"Assets/Art/bat.png", "a..b/c", "x/..y", "./a"})
        EXPECT_TRUE(IsContainedPath(inside)) << inside;
    for (const char* outside : {"..", "a/../../x", "a/..", "/etc/passwd", "\\server\\x", "a\\..\\b"})
        EXPECT_FALSE(IsContainedPath(outside)) << outside;

    test::WriteFile("Data/Data/dat_vsync.json", "old");
    ASSERT_TRUE(WriteFileAtomic("Data/Data/dat_vsync.json", "{\"vsync\": 1}\n"));
    EXPECT_EQ(test::ReadFile("Data/Data/dat_vsync.json"), "{\"vsync\": 1}\n");

    // A folder that does not exist: nothing written, and nothing left behind.
    EXPECT_FALSE(WriteFileAtomic("Missing/dat.json", "x"));
    EXPECT_FALSE(std::filesystem::exists("Missing"));

    // A read-only folder: the old file survives untouched.
    if (::geteuid() != 0)
    {
        std::filesystem::permissions("Data/Data",
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        EXPECT_FALSE(WriteFileAtomic("Data/Data/dat_vsync.json", "new"));
        std::filesystem::permissions("Data/Data", std::filesystem::perms::owner_all);
        EXPECT_EQ(test::ReadFile("Data/Data/dat_vsync.json"), "{\"vsync\": 1}\n");
    }
    for (const auto& entry : std::filesystem::directory_iterator("Data/Data"))
        EXPECT_EQ(entry.path().filename(), "dat_vsync.json") << "no temporary file may stay";
}
