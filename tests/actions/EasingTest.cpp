#include "actions/Easing.h"

#include <gtest/gtest.h>

#include <array>

TEST(Easing, EveryCurveAtStartMiddleAndEnd)
{
    struct Row
    {
        int curve;
        float mid;
    };
    // The value at t = 0.5 tells the curves apart; all of them run from 0 to 1.
    const std::array<Row, 11> rows = {{
        {0, 0.5f},
        {1, 0.29289322f},
        {2, 0.70710677f},
        {3, 0.5f},
        {4, 0.03125f},
        {5, 0.96875f},
        {6, 0.5f},
        {7, -0.08769751f},
        {8, 1.0876975f},
        {9, 0.5f},
        {10, 0.765625f},
    }};
    for (const Row& row : rows)
    {
        EXPECT_NEAR(Ease(row.curve, 0.0f), 0.0f, 1e-5f) << "curve " << row.curve;
        EXPECT_NEAR(Ease(row.curve, 0.5f), row.mid, 1e-5f) << "curve " << row.curve;
        EXPECT_NEAR(Ease(row.curve, 1.0f), 1.0f, 1e-5f) << "curve " << row.curve;
    }
}

TEST(Easing, BackCurvesOvershootAndUnknownCurvesAreLinear)
{
    EXPECT_LT(Ease(7, 0.2f), 0.0f) << "easing 7 pulls back before it goes";
    EXPECT_GT(Ease(8, 0.8f), 1.0f) << "easing 8 overshoots before it settles";
    EXPECT_FLOAT_EQ(Ease(10, 1.0f), 1.0f);
    EXPECT_FLOAT_EQ(Ease(-1, 0.3f), 0.3f);
    EXPECT_FLOAT_EQ(Ease(11, 0.3f), 0.3f);
}

TEST(Easing, CharactersTruncateAndBoolsStayTrueUntilZero)
{
    EXPECT_EQ(LerpValue('a', 'e', 0.6f), 'c') << "97 + 2.4 truncates to 99";
    EXPECT_TRUE(LerpValue(false, true, 0.01f));
    EXPECT_FALSE(LerpValue(false, true, 0.0f));
    EXPECT_TRUE(LerpValue(true, false, 0.99f));
    EXPECT_FALSE(LerpValue(true, false, 1.0f));
}

TEST(TextTransition, DeletesBackToTheCommonPrefixThenTypesTheNewText)
{
    // "HELLO" -> "HELP": two characters to delete, one to type.
    EXPECT_EQ(LerpValue(std::string("HELLO"), std::string("HELP"), 0.0f), "HELLO");
    EXPECT_EQ(LerpValue(std::string("HELLO"), std::string("HELP"), 0.34f), "HELL");
    EXPECT_EQ(LerpValue(std::string("HELLO"), std::string("HELP"), 0.67f), "HEL");
    EXPECT_EQ(LerpValue(std::string("HELLO"), std::string("HELP"), 1.0f), "HELP");

    // And back again: one to delete, two to type.
    EXPECT_EQ(LerpValue(std::string("HELP"), std::string("HELLO"), 0.34f), "HEL");
    EXPECT_EQ(LerpValue(std::string("HELP"), std::string("HELLO"), 0.67f), "HELL");
    EXPECT_EQ(LerpValue(std::string("HELP"), std::string("HELLO"), 1.0f), "HELLO");

    EXPECT_EQ(LerpValue(std::string(), std::string("DARK"), 0.5f), "DA");
    EXPECT_EQ(LerpValue(std::string("DARK"), std::string(), 0.5f), "DA");
    EXPECT_EQ(LerpValue(std::string("AB"), std::string("CD"), -0.3f), "AB") << "an overshoot below 0 shows the start";
}
