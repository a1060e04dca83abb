#include "TestSupport.h"

#include "core/MessageSystem.h"

#include <glm/vec2.hpp>

class MessageSystemTest : public test::ScratchTest
{
protected:
    MessageSystem& board = MessageSystem::Instance();
};

TEST_F(MessageSystemTest, NewerOrDueDelayedPostsReplaceOlderOnesAndConsumedOnesLastTheFrame)
{
    board.Send(Message("playerdata", {glm::vec2(1, 2), 3}));
    board.Send(Message("playerdata", {glm::vec2(5, 6), 7}));
    Message* m = board.Get("playerdata");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(board.CurrentCount(), 1u);
    ASSERT_NE(m->Arg<glm::vec2>(0), nullptr);
    EXPECT_EQ(*m->Arg<glm::vec2>(0), glm::vec2(5, 6));
    EXPECT_EQ(*m->Arg<int>(1), 7);
    EXPECT_EQ(m->Arg<float>(1), nullptr);
    EXPECT_EQ(m->Arg<int>(2), nullptr);
    EXPECT_EQ(board.Get("player"), nullptr) << "names compare exactly";

    board.Send(Message("collected", {}, 0.0f, true));
    board.Send(Message("playerdata"));

    ASSERT_NE(board.Get("collected", true), nullptr);
    ASSERT_NE(board.Get("playerdata", true), nullptr);
    EXPECT_NE(board.Get("collected"), nullptr) << "still readable this frame";
    board.Update(0.016f);
    EXPECT_EQ(board.Get("collected"), nullptr);
    EXPECT_NE(board.Get("playerdata"), nullptr) << "no remove-when-read flag: consuming changes nothing";
    board.Update(0.016f);
    EXPECT_NE(board.Get("playerdata"), nullptr);

    // Reading without consuming never takes a message down.
    board.Send(Message("holdplayer", {}, 0.0f, true));
    board.Get("holdplayer");
    board.Update(0.016f);
    EXPECT_NE(board.Get("holdplayer"), nullptr);

    // A delayed post replaces the current one when it comes due.
    board.Send(Message("monster_pos", {1}));
    board.Send(Message("monster_pos", {2}, 0.5f));
    board.Update(0.3f);
    EXPECT_EQ(*board.Get("monster_pos")->Arg<int>(0), 1);
    board.Update(0.3f);
    EXPECT_EQ(*board.Get("monster_pos")->Arg<int>(0), 2);
    EXPECT_EQ(board.DelayedCount(), 0u);
    EXPECT_EQ(board.CurrentCount(), 3u) << "playerdata, holdplayer and the replaced monster_pos";

    // Delayed posts count down once per update and can come due together.
    board.Send(Message("a", {}, 0.1f));
    board.Send(Message("b", {}, 0.2f));
    board.Send(Message("c", {}, 0.5f));
    board.Send(Message("a", {}, 0.2f)); // replaces the delayed "a"
    board.Update(0.2f);
    EXPECT_NE(board.Get("a"), nullptr);
    EXPECT_NE(board.Get("b"), nullptr);
    EXPECT_EQ(board.Get("c"), nullptr);
    EXPECT_EQ(board.DelayedCount(), 1u);
    board.Update(0.29f);
    EXPECT_EQ(board.Get("c"), nullptr);
    board.Update(0.02f);
    EXPECT_NE(board.Get("c"), nullptr);
}

TEST_F(MessageSystemTest, AMessageBeingReadSurvivesLaterPostsAndNinetyNineFit)
{
    board.Send(Message("collected", {7}, 0.0f, true));
    const Message* collected = board.Get("collected", true);
    ASSERT_NE(collected, nullptr);
    // Enough posts to move any growing array, and a newer post of the same name.
    for (int i = 0; i < 40; ++i)
        board.Send(Message("monster_pos" + std::to_string(i), {i}));
    board.Send(Message("collected", {8}));
    EXPECT_EQ(*collected->Arg<int>(0), 7);
    EXPECT_EQ(*board.Get("collected")->Arg<int>(0), 8) << "the newer post is the visible one";

    board.Send(Message("due", {1}));
    const Message* due = board.Get("due");
    board.Send(Message("due", {2}, 0.1f));
    board.Update(0.2f);
    EXPECT_EQ(*collected->Arg<int>(0), 7) << "taken down, not yet freed";
    EXPECT_EQ(*due->Arg<int>(0), 1);
    EXPECT_EQ(*board.Get("due")->Arg<int>(0), 2);
    EXPECT_EQ(board.CurrentCount(), 42u);

    for (int i = 0; board.CurrentCount() < 99; ++i)
        board.Send(Message("m" + std::to_string(i)));
    EXPECT_EQ(board.CurrentCount(), 99u);
    // Replacing a name keeps the count.
    board.Send(Message("m0"));
    EXPECT_EQ(board.CurrentCount(), 99u);
    EXPECT_DEATH(board.Send(Message("one too many")), "messages container overflow: messages cannot exceed 100");
}

TEST_F(MessageSystemTest, PostedMessagesAreFilledInPlaceAndReuseTheStorageOfOldOnes)
{
    Message& first = board.Post("playerdata");
    first._arguments.emplace_back(glm::vec2(1, 2));
    Message* older = board.Get("playerdata");
    ASSERT_EQ(older, &first);

    // A stale post left in the node must not show through a reused one.
    board.Send(Message("player_sound", {42}, 0.0f, true));
    ASSERT_NE(board.Get("player_sound", true), nullptr);
    board.Post("playerdata")._arguments.emplace_back(glm::vec2(3, 4));
    EXPECT_EQ(*older->Arg<glm::vec2>(0), glm::vec2(1, 2)) << "a replaced message stays readable this frame";
    board.Update(0.016f);
    board.Update(0.016f);

    Message& reused = board.Post("player_sound", true);
    EXPECT_TRUE(reused._arguments.empty());
    EXPECT_FALSE(reused._read);
    EXPECT_TRUE(reused._removeWhenRead);
    EXPECT_EQ(board.Get("player_sound"), &reused);
    EXPECT_EQ(*board.Get("playerdata")->Arg<glm::vec2>(0), glm::vec2(3, 4));
    EXPECT_EQ(board.CurrentCount(), 2u);
}
