#include "TestSupport.h"

#include "core/Trace.h"

using test::ReadTrace;

using TraceTest = test::ScratchTest;

TEST_F(TraceTest, LinesAndEchoShowAsSentOpenTruncatesAndLinesAfterCloseAreAdded)
{
    Trace::Message("Scene level1 Init");
    Trace::Message("Scene 'level1' Exit\n");
    Trace::Message("");
    Trace::Message("last");
    // Stream messages start clean after the marker.
    Trace::Stream() << "Scene " << 42 << " Init" << Trace::endm;
    Trace::Stream() << 42 << Trace::endm;
    EXPECT_EQ(ReadTrace(), "Scene level1 Init\nScene 'level1' Exit\n\n\nlast\nScene 42 Init\n42\n");

    Trace::SetEcho(true);
    testing::internal::CaptureStdout();
    Trace::Message("echoed");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "echoed\n");

    test::WriteFile("Trace.log", "old run\n");
    ASSERT_TRUE(Trace::Open());
    Trace::Message("Fatal: no shader table");
    EXPECT_EQ(test::ReadFile("Trace.log"), "Fatal: no shader table\n") << "on disk before the log closes";
    Trace::Close();
    Trace::Message("late line from shutdown");
    EXPECT_EQ(ReadTrace(), "Fatal: no shader table\nlate line from shutdown\n");
}
