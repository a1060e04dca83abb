#include "TestSupport.h"

#include "core/Trace.h"

using test::ReadTrace;

class TraceTest : public test::ScratchTest
{
};

TEST_F(TraceTest, OneLinePerMessageAndTrailingNewlinesShow)
{
    Trace::Message("Scene level1 Init");
    Trace::Message("Scene 'level1' Exit\n");
    Trace::Message("");
    Trace::Message("last");
    EXPECT_EQ(ReadTrace(), "Scene level1 Init\nScene 'level1' Exit\n\n\nlast\n");
}

TEST_F(TraceTest, OpenTruncatesAnEarlierLog)
{
    test::WriteFile("Trace.log", "old run\n");
    ASSERT_TRUE(Trace::Open());
    Trace::Message("new run");
    EXPECT_EQ(ReadTrace(), "new run\n");
}

TEST_F(TraceTest, StreamMessagesStartCleanAfterTheMarker)
{
    Trace::Stream() << "Scene "
                    << "menu"
                    << " Init" << Trace::endm;
    Trace::Stream() << 42 << Trace::endm;
    EXPECT_EQ(ReadTrace(), "Scene menu Init\n42\n");
}

TEST_F(TraceTest, FileIsCompleteBeforeClose)
{
    Trace::Message("flushed");
    // Read while the log is still open: every message is already on disk.
    EXPECT_EQ(test::ReadFile("Trace.log"), "flushed\n");
}

TEST_F(TraceTest, EchoCopiesMessagesToStandardOutput)
{
    Trace::SetEcho(true);
    testing::internal::CaptureStdout();
    Trace::Message("echoed");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "echoed\n");
}

TEST_F(TraceTest, MessagesAfterCloseAreAddedToTheFinishedLog)
{
    ASSERT_TRUE(Trace::Open());
    Trace::Message("Fatal: no shader table");
    Trace::Close();
    Trace::Message("late line from shutdown");
    EXPECT_EQ(ReadTrace(), "Fatal: no shader table\nlate line from shutdown\n");
}
