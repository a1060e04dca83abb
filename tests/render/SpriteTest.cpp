#include "TestSupport.h"

#include "data/Entity.h"
#include "render/Sprite.h"

TEST(Sprite, ReadsItsFieldsFromAnEntityFile)
{
    Entity e;
    e.Read(json::parse(R"({"components": {"sprite": {
        "blendmode": 2, "text": "HELLO", "tint": {"r": 0.5, "a": 0.25}, "frameindex": 3, "parallax": true,
        "textcenter": true}}})"));
    auto* s = e.Get<Sprite>(ctype::Sprite);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetBlendMode(), 2);
    EXPECT_EQ(s->GetText(), "HELLO");
    EXPECT_EQ(s->GetTint(), glm::vec4(0.5f, 1.0f, 1.0f, 0.25f)) << "missing channels keep their value";
    EXPECT_EQ(s->GetFrame(), 3u);
    EXPECT_TRUE(s->GetParallax());
    EXPECT_TRUE(s->GetTextCenter());
}

TEST(Sprite, TintsAreClampedAndCloneKeepsValues)
{
    Sprite s;
    s.SetTint(2.0f, -1.0f, 0.5f, 1.5f);
    EXPECT_EQ(s.GetTint(), glm::vec4(1.0f, 0.0f, 0.5f, 1.0f));
    s.SetText("x");
    auto copy = s.Clone();
    EXPECT_EQ(static_cast<Sprite*>(copy.get())->GetTint(), s.GetTint());
    EXPECT_EQ(static_cast<Sprite*>(copy.get())->GetText(), "x");

    json j;
    s.Write(j);
    Sprite back;
    back.Read(j);
    EXPECT_EQ(back.GetTint(), s.GetTint());
    EXPECT_EQ(back.GetText(), "x");
}
