#pragma once

#include "TestSupport.h"

#include <string>
#include <vector>

namespace test
{
// Runs in a scratch copy of the scene fixture tree (tests/data/scenes).
class SceneFixture : public ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        CopyTestData("scenes");
    }
};

// The names of the loaded scenes, in order.
std::vector<std::string> SceneNames();

// The trace log's lines, in order.
std::vector<std::string> TraceLines();

// True when the wanted lines appear in the trace in this order (others may come between).
::testing::AssertionResult InOrder(const std::vector<std::string>& lines, const std::vector<std::string>& wanted);
} // namespace test
