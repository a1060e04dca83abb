#include "data/Transform.h"

#include <glm/vec4.hpp>
#include <gtest/gtest.h>

namespace
{
glm::vec2 Apply(const Transform& t, glm::vec2 p)
{
    const glm::vec4 r = t.GetMatrix() * glm::vec4(p, 0.0f, 1.0f);
    return {r.x, r.y};
}
} // namespace

TEST(Transform, MatrixIsTranslateRotateScaleAndStaleAfterEveryChangeAndOnEveryCopy)
{
    Transform t;
    t.Read(json::parse(
        R"({"translation": {"x": 120, "y": -40}, "scale": {"x": 64, "y": 32}, "rotation": 90, "depth": 7})"));
    // Local x is scaled by 64, turned onto world +y, then moved.
    const glm::vec2 p = Apply(t, {1, 0});
    EXPECT_NEAR(p.x, 120.0f, 1e-3);
    EXPECT_NEAR(p.y, -40.0f + 64.0f, 1e-3);
    const glm::vec2 q = Apply(t, {0, 1});
    EXPECT_NEAR(q.x, 120.0f - 32.0f, 1e-3);
    EXPECT_NEAR(q.y, -40.0f, 1e-3);

    Transform u;
    EXPECT_TRUE(u.IsStale());
    EXPECT_EQ(u.GetMatrix(), glm::mat4(1.0f)) << "a new transform is the identity";
    EXPECT_FALSE(u.IsStale());
    u.Read(json::parse(R"({"depth": 2})"));
    EXPECT_TRUE(u.IsStale()) << "reading marks stale even when only depth changed";
    EXPECT_EQ(u.GetMatrix(), glm::mat4(1.0f));

    u.SetTranslation({3, 4});
    EXPECT_TRUE(u.IsStale());
    EXPECT_NEAR(Apply(u, {0, 0}).x, 3.0f, 1e-6);
    u.SetDepth(9);
    EXPECT_FALSE(u.IsStale()) << "depth is not part of the matrix";

    auto copy = u.Clone();
    auto* ct = dynamic_cast<Transform*>(copy.get());
    ASSERT_NE(ct, nullptr);
    EXPECT_TRUE(ct->IsStale());
    EXPECT_EQ(ct->GetTranslation(), glm::vec2(3, 4));
    EXPECT_EQ(ct->GetDepth(), 9);
    EXPECT_EQ(ct->GetMatrix(), u.GetMatrix());
}
