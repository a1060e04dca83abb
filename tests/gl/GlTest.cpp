#include "gl/GlTest.h"

#include "core/WindowSystem.h"
#include "render/RenderState.h"
#include "render/ShaderSystem.h"
#include "render/Sprite.h"
#include "render/SpriteBatch.h"

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
    // Film grain would make exact colours noisy.
    Sprite::GrainFactor() = 0.0f;
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
    SpriteBatch::Flush();
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
    // Drawn now, not left in a batch.
    SpriteBatch::Flush();
    return entity;
}

namespace
{
// Back-buffer pixels of a world rectangle, RGBA rows from the bottom up.
std::vector<unsigned char> ReadBack(glm::vec2 lowerLeft, int width, int height)
{
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width * height * 4));
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(static_cast<int>(960.0f + lowerLeft.x), static_cast<int>(540.0f + lowerLeft.y), width, height, GL_RGBA,
                 GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}
} // namespace

glm::ivec4 GlTest::PixelAt(glm::vec2 world)
{
    SpriteBatch::Flush();
    const std::vector<unsigned char> rgba = ReadBack(world, 1, 1);
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

int GlTest::LitPixels(glm::vec2 lowerLeft, glm::vec2 upperRight)
{
    SpriteBatch::Flush();
    const std::vector<unsigned char> rgba =
        ReadBack(lowerLeft, static_cast<int>(upperRight.x - lowerLeft.x), static_cast<int>(upperRight.y - lowerLeft.y));
    int lit = 0;
    for (std::size_t i = 0; i < rgba.size(); i += 4)
        if (rgba[i] + rgba[i + 1] + rgba[i + 2] > 30)
            ++lit;
    return lit;
}

std::string SpriteEntity(const std::string& sprite, glm::vec2 at, glm::vec2 scale)
{
    return R"({"transform": {"translation": {"x": )" + std::to_string(at.x) + R"(, "y": )" + std::to_string(at.y) +
           R"(}, "scale": {"x": )" + std::to_string(scale.x) + R"(, "y": )" + std::to_string(scale.y) +
           R"(}}, "components": {"sprite": {)" + sprite + "}}}";
}

std::string Quad(float x, float y, float size, const std::string& extra)
{
    return SpriteEntity(kUnitQuad + R"(, "shader": {"name": "default"})" + (extra.empty() ? "" : ", " + extra), {x, y},
                        {size, size});
}

std::string Tint(float r, float g, float b, float a)
{
    return R"("tint": {"r": )" + std::to_string(r) + R"(, "g": )" + std::to_string(g) + R"(, "b": )" +
           std::to_string(b) + R"(, "a": )" + std::to_string(a) + "}";
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
