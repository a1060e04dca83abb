#include "core/LaunchOptions.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(LaunchOptions, EveryFlagParsesAndBadValuesAreRefusedWithTheirFlag)
{
    const LaunchParse p =
        ParseLaunchOptions({"--frames", "120",          "--fixed-dt",  "0.0166667",     "--seed",
                            "7",        "--data",       "/tmp/x",      "--headless",    "--scene",
                            "level1",   "--windowed",   "--scene",     "splash_screen", "--input",
                            "in.json",  "--screenshot", "30:shot.png", "--screenshot",  "5:/tmp/a:b.png",
                            "--dump",   "30:a.json",    "--dump",      "0:b.json"});
    ASSERT_TRUE(p.error.empty()) << p.error;
    EXPECT_EQ(p.options.frames, 120);
    EXPECT_FLOAT_EQ(p.options.fixedDt, 0.0166667f);
    EXPECT_EQ(p.options.seed, 7u);
    EXPECT_EQ(p.options.dataDir, "/tmp/x");
    EXPECT_TRUE(p.options.headless);
    EXPECT_TRUE(p.options.windowed);
    EXPECT_EQ(p.options.scene, "splash_screen") << "a repeated flag keeps its last value";
    EXPECT_EQ(p.options.inputFile, "in.json");
    ASSERT_EQ(p.options.screenshots.size(), 2u);
    EXPECT_EQ(p.options.screenshots.at(30), "shot.png");
    EXPECT_EQ(p.options.screenshots.at(5), "/tmp/a:b.png") << "only the first colon separates";
    EXPECT_EQ(p.options.dumps, (std::map<long long, std::string>{{0, "b.json"}, {30, "a.json"}}));

    // Each case is a command line split at spaces; '' stands for an empty value.
    for (const char* line : {"--frames", "--frames ten", "--frames -1", "--fixed-dt 2", "--fixed-dt nan", "--seed -3",
                             "--data ''", "--scene ''", "--input", "--screenshot shot.png", "--screenshot -1:x.png",
                             "--screenshot 3:", "--dump x.json", "--dump -2:x.json", "--dump 4:", "--dump", "--bogus"})
    {
        std::vector<std::string> args;
        std::istringstream in(line);
        for (std::string arg; in >> arg;)
            args.push_back(arg == "''" ? "" : arg);
        const LaunchParse p = ParseLaunchOptions(args);
        EXPECT_NE(p.error.find(args[0]), std::string::npos) << line << ": " << p.error;
    }
}
