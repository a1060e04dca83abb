#include "actions/Easing.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

TEST(Easing, CurvesRunFromZeroToOneOvershootOrFallBackAndValuesOfEveryKindFollow)
{
    // The value at t = 0.5 tells the curves apart; all of them run from 0 to 1.
    const std::array<float, 11> mids = {0.5f, 0.29289322f,  0.70710677f, 0.5f, 0.03125f, 0.96875f,
                                        0.5f, -0.08769751f, 1.0876975f,  0.5f, 0.765625f};
    for (int curve = 0; curve < 11; ++curve)
    {
        EXPECT_NEAR(Ease(curve, 0.0f), 0.0f, 1e-5f) << "curve " << curve;
        EXPECT_NEAR(Ease(curve, 0.5f), mids[curve], 1e-5f) << "curve " << curve;
        EXPECT_NEAR(Ease(curve, 1.0f), 1.0f, 1e-5f) << "curve " << curve;
    }

    EXPECT_LT(Ease(7, 0.2f), 0.0f) << "easing 7 pulls back before it goes";
    EXPECT_GT(Ease(8, 0.8f), 1.0f) << "easing 8 overshoots before it settles";
    EXPECT_FLOAT_EQ(Ease(-1, 0.3f), 0.3f);
    EXPECT_FLOAT_EQ(Ease(11, 0.3f), 0.3f);

    EXPECT_EQ(LerpValue('a', 'e', 0.6f), 'c') << "97 + 2.4 truncates to 99";
    EXPECT_TRUE(LerpValue(false, true, 0.01f));
    EXPECT_FALSE(LerpValue(false, true, 0.0f));
    EXPECT_TRUE(LerpValue(true, false, 0.99f));
    EXPECT_FALSE(LerpValue(true, false, 1.0f));

    // "HELLO" -> "HELP" deletes two characters and types one; back again deletes one and
    // types two. An overshoot below 0 shows the start.
    using Case = std::tuple<std::string, std::string, float, std::string>;
    for (const auto& [from, to, t, shown] : std::vector<Case>{{"HELLO", "HELP", 0.0f, "HELLO"},
                                                              {"HELLO", "HELP", 0.34f, "HELL"},
                                                              {"HELLO", "HELP", 0.67f, "HEL"},
                                                              {"HELLO", "HELP", 1.0f, "HELP"},
                                                              {"HELP", "HELLO", 0.34f, "HEL"},
                                                              {"HELP", "HELLO", 0.67f, "HELL"},
                                                              {"HELP", "HELLO", 1.0f, "HELLO"},
                                                              {"", "DARK", 0.5f, "DA"},
                                                              {"DARK", "", 0.5f, "DA"},
                                                              {"AB", "CD", -0.3f, "AB"}})
        EXPECT_EQ(LerpValue(from, to, t), shown) << from << " -> " << to << " at " << t;
}
