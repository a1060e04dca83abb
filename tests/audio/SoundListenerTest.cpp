#include "TestSupport.h"

#include "audio/SoundListener.h"
#include "core/MessageSystem.h"
#include "data/Entity.h"

#include <glm/vec2.hpp>

using SoundListenerTest = test::ScratchTest;

TEST_F(SoundListenerTest, PostsTheOwnersPositionEveryUpdate)
{
    Entity e("ears");
    e.Read(json::parse(R"({"transform": {"translation": {"x": 3, "y": -4}}, "components": {"soundlistener": {}}})"));
    auto* listener = e.Get<SoundListener>(ctype::SoundListener);
    ASSERT_NE(listener, nullptr);

    MessageSystem& board = MessageSystem::Instance();
    for (int frame = 0; frame < 2; ++frame)
    {
        e.GetTransform().SetTranslation({3.0f + frame, -4.0f});
        listener->Update(0.016f);
        Message* m = board.Get("sound_listener", true);
        ASSERT_NE(m, nullptr) << "frame " << frame;
        ASSERT_NE(m->Arg<glm::vec2>(0), nullptr);
        EXPECT_EQ(*m->Arg<glm::vec2>(0), glm::vec2(3.0f + frame, -4.0f));
        board.Update(0.016f);
        EXPECT_EQ(board.Get("sound_listener"), nullptr) << "consumed when read";
    }

    auto clone = listener->Clone();
    EXPECT_EQ(clone->GetOwner(), nullptr);
    clone->Update(0.016f);
    EXPECT_EQ(board.Get("sound_listener"), nullptr) << "no owner, nothing to tell";
}
