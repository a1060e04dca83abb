#include "gl/GlTest.h"

#include "core/FatalError.h"
#include "render/LumComputeShader.h"
#include "render/ShaderSystem.h"

#include <glad/gl.h>
#include <gmock/gmock.h>

using ::testing::HasSubstr;

class ShaderCompileTest : public test::GlTest
{
};

TEST_F(ShaderCompileTest, ShippedProgramsCacheTheirUniforms)
{
    const ShaderEntry* entry = ShaderSystem::Instance().Find("default");
    ASSERT_NE(entry, nullptr);
    const LumShader& shader = *entry->_shader;
    EXPECT_NE(shader.GetProgram(), 0u);
    for (Uniform u : {Uniform::Projection, Uniform::Camera, Uniform::World, Uniform::Uv, Uniform::Tint,
                      Uniform::Brightness, Uniform::Time, Uniform::GrainFactor})
        EXPECT_GE(shader.GetLocation(u), 0) << UniformName(u);
    EXPECT_EQ(shader.GetLocation(Uniform::ThreeD), -1) << "undeclared uniforms stay -1";
}

TEST_F(ShaderCompileTest, AStageThatDoesNotCompileStopsTheProgramWithItsFile)
{
    test::WriteFile("Shaders/Broken.glsl", "#version 330 core\nvoid main() { this is not glsl }\n");
    try
    {
        LumShader shader("Shaders/VertexShaderDefault.glsl", "Shaders/Broken.glsl");
        FAIL() << "a broken stage must stop the program";
    }
    catch (const FatalError& e)
    {
        EXPECT_STREQ(e.what(), "Pixel Shader: Shaders/Broken.glsl Failed to Compile");
    }
    EXPECT_THAT(test::ReadTrace(), HasSubstr("File: Pixel Shader: Shaders/Broken.glsl Failed to Compile"));

    try
    {
        LumShader shader("Shaders/Missing.glsl", "Shaders/PixelShaderTexDefault.glsl");
        FAIL() << "a missing stage must stop the program";
    }
    catch (const FatalError& e)
    {
        EXPECT_STREQ(e.what(), "Vertex Shader: Shaders/Missing.glsl Failed to Compile");
    }
}

TEST_F(ShaderCompileTest, ProgramsThatDoNotLinkNameBothFiles)
{
    // A stage without main compiles on its own but cannot be linked.
    test::WriteFile("Shaders/Lonely.glsl", "#version 330 core\nout vec4 c;\nvoid paint() { c = vec4(1.0); }\n");
    try
    {
        LumShader shader("Shaders/VertexShaderDefault.glsl", "Shaders/Lonely.glsl");
        FAIL() << "a program that does not link must stop the program";
    }
    catch (const FatalError& e)
    {
        EXPECT_STREQ(e.what(), "Shaders/VertexShaderDefault.glslShaders/Lonely.glsl Failed to Link");
    }
}

TEST_F(ShaderCompileTest, TheComputeVariantLinksWithItsBuffers)
{
    GLint major = 0, minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    if (major * 10 + minor < 43)
        GTEST_SKIP() << "compute stages need OpenGL 4.3";
    test::WriteFile("Shaders/Count.glsl", "#version 430 core\nlayout(local_size_x = 1) in;\nvoid main() {}\n");
    LumComputeShader compute("Shaders/Count.glsl");
    EXPECT_NE(compute.GetProgram(), 0u);
    for (unsigned buffer : compute.GetBuffers())
        EXPECT_NE(buffer, 0u);
}
