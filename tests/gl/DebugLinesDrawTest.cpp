#include "gl/GlTest.h"

#include "core/DebugLines.h"
#include "debug/DebugSystem.h"

using test::NearColour;

class DebugLinesDrawTest : public test::GlTest
{
protected:
    DebugSystem& _debug = DebugSystem::Instance();
    DebugLines& _lines = DebugLines::Instance();
};

TEST_F(DebugLinesDrawTest, LinesPushedInAFrameAreDrawnInTheirColoursThatFrameOnly)
{
    ASSERT_TRUE(_debug.Init());
    // Through pixel centres, so exactly one row or column lights up.
    _lines.DrawSegment({-300.5f, 100.5f}, {300.5f, 100.5f}, {1, 0, 0, 1});
    _lines.DrawSegment({200.5f, -200.5f}, {200.5f, 50.5f}, {0, 1, 0, 1});
    _lines.DrawRectangle(-400.5f, -350.5f, -300.5f, -350.5f, {0, 0, 1, 1});
    _debug.Render();
    EXPECT_EQ(_debug.LastLineCount(), 6u) << "one draw of every segment";
    EXPECT_TRUE(NearColour(PixelAt({0.5f, 100.5f}), {255, 0, 0, 255}));
    EXPECT_TRUE(NearColour(PixelAt({-290.5f, 100.5f}), {255, 0, 0, 255}));
    EXPECT_TRUE(NearColour(PixelAt({200.5f, -150.5f}), {0, 255, 0, 255}));
    EXPECT_TRUE(NearColour(PixelAt({-375.5f, -300.5f}), {0, 0, 255, 255}));
    EXPECT_TRUE(NearColour(PixelAt({-400.5f, -325.5f}), {0, 0, 255, 255}));
    EXPECT_TRUE(NearColour(PixelAt({0.5f, 0.5f}), {0, 0, 0, 255}));
    EXPECT_EQ(LitPixels({320, 90}, {400, 110}), 0) << "nothing past the segment's end";
    EXPECT_TRUE(_lines.Segments().empty());

    // The next frame with nothing pushed draws nothing.
    Clear();
    _debug.Render();
    EXPECT_EQ(_debug.LastLineCount(), 0u);
    EXPECT_EQ(LitPixels({-500, -400}, {500, 300}), 0);

    _lines.DrawSegment({-50.5f, -20.5f}, {50.5f, -20.5f}, {1, 1, 1, 1});
    _debug.Render();
    EXPECT_EQ(_debug.LastLineCount(), 1u);
    EXPECT_TRUE(NearColour(PixelAt({0.5f, -20.5f}), {255, 255, 255, 255}));
    EXPECT_TRUE(NearColour(PixelAt({0.5f, 100.5f}), {0, 0, 0, 255})) << "last frame's lines are gone";
}

TEST_F(DebugLinesDrawTest, WithoutTheLineFileLinesAreReportedOnceAndStillEmptied)
{
    std::filesystem::remove("Data/Entity/line_draw.json");
    ASSERT_TRUE(_debug.Init());
    _lines.DrawSegment({-100, 0}, {100, 0}, {1, 1, 1, 1});
    _debug.Render();
    EXPECT_EQ(_debug.LastLineCount(), 0u);
    EXPECT_TRUE(_lines.Segments().empty());
    EXPECT_EQ(test::Count(test::ReadTrace(), "line_draw.json: no \"sprite\""), 1u);
}
