#include "render/LumComputeShader.h"

#include "render/GlState.h"

#include <glad/gl.h>

namespace
{
// Compute stages are newer than the 3.3 core API the loader is generated for.
constexpr GLenum kComputeShader = 0x91B9;
} // namespace

LumComputeShader::LumComputeShader(const std::string& computeFile)
{
    _locations.fill(-1);
    if (!GlState::IsLive())
        return;

    const GLuint stage = CompileStage(kComputeShader, computeFile, "Compute");
    _program = glCreateProgram();
    glAttachShader(_program, stage);
    glLinkProgram(_program);
    GLint linked = GL_FALSE;
    glGetProgramiv(_program, GL_LINK_STATUS, &linked);
    glDeleteShader(stage);
    if (linked != GL_TRUE)
        Fail(_program, true, "Compute Failed to Link");

    CacheLocations();
    for (unsigned& buffer : _buffers)
        glGenBuffers(1, &buffer);
}

LumComputeShader::~LumComputeShader()
{
    if (GlState::IsLive() && _buffers[0] != 0)
        glDeleteBuffers(static_cast<GLsizei>(_buffers.size()), _buffers.data());
}
