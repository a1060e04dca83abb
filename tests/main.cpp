#include "data/StaticSettings.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Class-wide settings would otherwise be written into whatever folder a test left current.
    StaticSettings::SetWriteBack(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
