#include "core/StdRandom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

TEST(StdRandomTest, DrawsSpanZeroTo32767WhateverTheGeneratorsRange)
{
    std::srand(5);
    int low = 32768;
    int high = -1;
    for (int i = 0; i < 20000; ++i)
    {
        const int r = StdRandom::Draw();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
        low = std::min(low, r);
        high = std::max(high, r);
    }
    EXPECT_LT(low, 100);
    EXPECT_GT(high, 32667) << "the whole range is reached, not a sliver of it";

    std::srand(5);
    const int first = StdRandom::Draw();
    std::srand(5);
    EXPECT_FLOAT_EQ(StdRandom::Unit(), first / 32768.0f) << "one rand() per draw, so seeded runs repeat";
}
