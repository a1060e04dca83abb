#include "gl/GlTest.h"

#include "core/FatalError.h"
#include "render/ShaderSystem.h"

#include <gmock/gmock.h>

using ::testing::HasSubstr;

using ShaderCompileTest = test::GlTest;

namespace
{
// The message a program of these two stages stops the game with; empty if it builds.
std::string BuildError(const std::string& vertex, const std::string& pixel)
{
    try
    {
        LumShader shader(vertex, pixel);
    }
    catch (const FatalError& e)
    {
        return e.what();
    }
    return "";
}
} // namespace

TEST_F(ShaderCompileTest, StagesThatDoNotCompileOrLinkStopTheProgramWithTheirFiles)
{
    test::WriteFile("Shaders/Broken.glsl", "#version 330 core\nvoid main() { this is not glsl }\n");
    EXPECT_EQ(BuildError("Shaders/VertexShaderDefault.glsl", "Shaders/Broken.glsl"),
              "Pixel Shader: Shaders/Broken.glsl Failed to Compile");
    EXPECT_THAT(test::ReadTrace(), HasSubstr("File: Pixel Shader: Shaders/Broken.glsl Failed to Compile"));
    EXPECT_EQ(BuildError("Shaders/Missing.glsl", "Shaders/PixelShaderTexDefault.glsl"),
              "Vertex Shader: Shaders/Missing.glsl Failed to Compile");

    // A stage without main compiles on its own but cannot be linked.
    test::WriteFile("Shaders/Lonely.glsl", "#version 330 core\nout vec4 c;\nvoid paint() { c = vec4(1.0); }\n");
    EXPECT_EQ(BuildError("Shaders/VertexShaderDefault.glsl", "Shaders/Lonely.glsl"),
              "Shaders/VertexShaderDefault.glslShaders/Lonely.glsl Failed to Link");
    EXPECT_EQ(BuildError("Shaders/VertexShaderDefault.glsl", "Shaders/PixelShaderTexDefault.glsl"), "");
}
