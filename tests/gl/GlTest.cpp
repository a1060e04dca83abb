#include "gl/GlTest.h"

#include "core/WindowSystem.h"
#include "render/RenderState.h"
#include "render/ShaderSystem.h"

#include <glad/gl.h>

namespace test
{
void GlTest::SetUp()
{
    ScratchTest::SetUp();
    CopyContent();
    WindowOptions options;
    options.windowed = true;
    options.hidden = true;
    WindowSystem::Instance().Configure(options);
    ASSERT_TRUE(WindowSystem::Instance().Init()) << "no window: GL tests need a display (run them under xvfb-run)";
    ASSERT_TRUE(ShaderSystem::Instance().Init());
    Clear();
}

void GlTest::TearDown()
{
    // GL objects go while the context still exists.
    _entities.clear();
    ResetGlobals();
    WindowSystem::Instance().Exit();
    WindowSystem::Instance().Configure({});
    ScratchTest::TearDown();
}

void GlTest::Clear(const glm::vec4& colour)
{
    RenderState::SetClearColour(colour);
    WindowSystem::Instance().Render();
}

Entity* GlTest::Read(const std::string& entityJson)
{
    auto entity = Entity::FromJson(json::parse(entityJson), "test.json");
    if (!entity)
        return nullptr;
    _entities.push_back(std::move(entity));
    return _entities.back().get();
}

Entity* GlTest::Draw(const std::string& entityJson)
{
    Entity* entity = Read(entityJson);
    if (entity)
        entity->Render();
    return entity;
}

glm::ivec4 GlTest::PixelAt(glm::vec2 world)
{
    unsigned char rgba[4] = {0, 0, 0, 0};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(static_cast<int>(960.0f + world.x), static_cast<int>(540.0f + world.y), 1, 1, GL_RGBA,
                 GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

int GlTest::LitPixels(glm::vec2 lowerLeft, glm::vec2 upperRight)
{
    const int x0 = static_cast<int>(960.0f + lowerLeft.x);
    const int y0 = static_cast<int>(540.0f + lowerLeft.y);
    const int w = static_cast<int>(upperRight.x - lowerLeft.x);
    const int h = static_cast<int>(upperRight.y - lowerLeft.y);
    std::vector<unsigned char> rgba(static_cast<std::size_t>(w * h * 4));
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x0, y0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    int lit = 0;
    for (std::size_t i = 0; i < rgba.size(); i += 4)
        if (rgba[i] + rgba[i + 1] + rgba[i + 2] > 30)
            ++lit;
    return lit;
}

::testing::AssertionResult NearColour(const glm::ivec4& actual, const glm::ivec4& expected, int tolerance)
{
    for (int c = 0; c < 3; ++c)
        if (std::abs(actual[c] - expected[c]) > tolerance)
            return ::testing::AssertionFailure()
                   << "(" << actual.r << ", " << actual.g << ", " << actual.b << ") is not (" << expected.r << ", "
                   << expected.g << ", " << expected.b << ")";
    return ::testing::AssertionSuccess();
}
} // namespace test
