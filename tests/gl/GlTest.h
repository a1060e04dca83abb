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

// Channels equal within a rounding step or two.
::testing::AssertionResult NearColour(const glm::ivec4& actual, const glm::ivec4& expected, int tolerance = 2);
} // namespace test
