#include "render/Animation.h"
#include "data/Entity.h"
#include "render/Sprite.h"

#include <gtest/gtest.h>

namespace
{
// An entity with a bare sprite and an animation; the sprite shows what the animation sets.
struct Animated
{
    Animated(unsigned frames, float duration, bool looping) : entity("walker")
    {
        sprite = static_cast<Sprite*>(entity.AddComponent(std::make_unique<Sprite>()));
        animation = static_cast<Animation*>(entity.AddComponent(std::make_unique<Animation>()));
        animation->SetFrameCount(frames);
        animation->SetFrameDuration(duration);
        animation->SetFrameTimer(duration);
        animation->SetLooping(looping);
        animation->SetRunning(true);
    }

    Entity entity;
    Sprite* sprite = nullptr;
    Animation* animation = nullptr;
};
} // namespace

TEST(Animation, FourQuarterSecondFramesLoopBackToZeroAfterOneSecondAndAreDoneOnce)
{
    Animated a(4, 0.25f, true);
    int doneUpdates = 0;
    std::vector<unsigned> shown;
    // Sixteenths add up exactly, so 1 s is exactly sixteen updates.
    for (int i = 0; i < 16; ++i)
    {
        a.animation->Update(1.0f / 16.0f);
        doneUpdates += a.animation->IsDone() ? 1 : 0;
        if (shown.empty() || shown.back() != a.sprite->GetFrame())
            shown.push_back(a.sprite->GetFrame());
    }
    EXPECT_EQ(a.animation->GetFrame(), 0u);
    EXPECT_EQ(a.sprite->GetFrame(), 0u);
    EXPECT_EQ(doneUpdates, 1);
    EXPECT_EQ(shown, (std::vector<unsigned>{0, 1, 2, 3, 0}));
    EXPECT_TRUE(a.animation->IsRunning());

    a.animation->Update(0.0f);
    EXPECT_FALSE(a.animation->IsDone()) << "done holds for one update only";
}

TEST(Animation, ALargeStepAdvancesOneFrameAndTheOvershootCarriesOver)
{
    Animated a(8, 0.25f, true);
    a.animation->Update(2.0f);
    EXPECT_EQ(a.animation->GetFrame(), 1u);
    EXPECT_EQ(a.sprite->GetFrame(), 1u);
    EXPECT_FLOAT_EQ(a.animation->GetFrameTimer(), -1.5f);
    a.animation->Update(0.0f);
    EXPECT_EQ(a.animation->GetFrame(), 2u) << "a timer still below zero moves on at the next update";
}

TEST(Animation, WithoutLoopingItStopsOnTheLastFrame)
{
    Animated a(3, 0.1f, false);
    bool sawDone = false;
    for (int i = 0; i < 10; ++i)
    {
        a.animation->Update(0.11f);
        sawDone = sawDone || a.animation->IsDone();
    }
    EXPECT_TRUE(sawDone);
    EXPECT_FALSE(a.animation->IsRunning());
    EXPECT_EQ(a.animation->GetFrame(), 2u);
    EXPECT_EQ(a.sprite->GetFrame(), 2u);
    EXPECT_FLOAT_EQ(a.animation->GetFrameTimer(), 0.0f);
}

TEST(Animation, ZeroOrOneFramesKeepShowingFrameZero)
{
    for (unsigned frames : {0u, 1u})
    {
        Animated a(frames, 0.1f, true);
        a.sprite->SetFrame(0);
        for (int i = 0; i < 5; ++i)
        {
            a.animation->Update(0.15f);
            EXPECT_EQ(a.sprite->GetFrame(), 0u) << frames << " frames";
            EXPECT_EQ(a.animation->GetFrame(), 0u) << frames << " frames";
        }
    }
}

TEST(Animation, StoppedDoesNothingAndACloneStartsStoppedAtZero)
{
    Animated a(4, 0.25f, true);
    a.animation->SetRunning(false);
    a.animation->Update(1.0f);
    EXPECT_EQ(a.animation->GetFrame(), 0u);

    a.animation->SetRunning(true);
    a.animation->Update(0.3f);
    ASSERT_EQ(a.animation->GetFrame(), 1u);
    auto copy = a.animation->Clone();
    auto* clone = static_cast<Animation*>(copy.get());
    EXPECT_FALSE(clone->IsRunning());
    EXPECT_EQ(clone->GetFrame(), 0u);
    EXPECT_FLOAT_EQ(clone->GetFrameTimer(), 0.0f);
    EXPECT_EQ(clone->GetFrameCount(), 4u);
    EXPECT_FLOAT_EQ(clone->GetFrameDuration(), 0.25f);
    EXPECT_TRUE(clone->IsLooping());
}
