#pragma once

#include "TestSupport.h"

#include "data/Entity.h"

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <memory>
#include <string>

namespace test
{
// A hidden 1920 x 1080 game window with the shipped shaders compiled, in a scratch
// copy of the content tree. World (0, 0) is the centre pixel; one unit is one pixel.
class GlTest : public ScratchTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Clears to the colour given (through the window's own Render).
    void Clear(const glm::vec4& colour = {0.0f, 0.0f, 0.0f, 1.0f});
    // Reads an entity from JSON text and draws it; it stays alive until the test ends.
    Entity* Draw(const std::string& entityJson);
    Entity* Read(const std::string& entityJson);

    // The back-buffer pixel at a world point (y up), as 0..255 channels.
    static glm::ivec4 PixelAt(glm::vec2 world);
    // How many pixels of a world rectangle are brighter than the clear colour black.
    static int LitPixels(glm::vec2 lowerLeft, glm::vec2 upperRight);

private:
    std::vector<std::unique_ptr<Entity>> _entities;
};

// Sprite keys for a quad one unit across, showing the whole texture.
inline const std::string kUnitQuad =
    R"("mesh": {"type": "quad", "name": "unit", "halfsizex": 0.5, "halfsizey": 0.5, "u": 1, "v": 1})";

// An entity with one sprite of the given keys, placed and scaled.
std::string SpriteEntity(const std::string& sprite, glm::vec2 at = {0.0f, 0.0f}, glm::vec2 scale = {1.0f, 1.0f});
// A unit quad drawn `size` units across at (x, y) by the default shader; `extra` adds sprite keys.
std::string Quad(float x, float y, float size, const std::string& extra = "");
// A "tint" sprite key.
std::string Tint(float r, float g, float b, float a = 1.0f);

// Channels equal within a rounding step or two.
::testing::AssertionResult NearColour(const glm::ivec4& actual, const glm::ivec4& expected, int tolerance = 2);
} // namespace test
