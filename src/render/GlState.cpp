#include "render/GlState.h"

#include "core/FatalError.h"
#include "core/Trace.h"
#include "render/LightMap.h"
#include "render/LightUniforms.h"
#include "render/LumInstance.h"
#include "render/SpriteBatch.h"

#include <glad/gl.h>

#include <cstdio>
#include <string>

namespace
{
bool s_live = false;
unsigned s_generation = 0;
GLuint s_program = 0;
GLuint s_texture = 0;
GLuint s_vertexArray = 0;
GLuint s_white = 0;
GlState::BindCounts s_counts;
GLint s_maxTextureSize = 0;

std::string ErrorText(GLenum code)
{
    const char* name = "unknown";
    switch (code)
    {
    case GL_INVALID_ENUM:
        name = "GL_INVALID_ENUM";
        break;
    case GL_INVALID_VALUE:
        name = "GL_INVALID_VALUE";
        break;
    case GL_INVALID_OPERATION:
        name = "GL_INVALID_OPERATION";
        break;
    case GL_INVALID_FRAMEBUFFER_OPERATION:
        name = "GL_INVALID_FRAMEBUFFER_OPERATION";
        break;
    case GL_OUT_OF_MEMORY:
        name = "GL_OUT_OF_MEMORY";
        break;
    default:
        break;
    }
    char hex[16];
    std::snprintf(hex, sizeof(hex), "0x%x", code);
    return std::string("GL error ") + name + " (" + hex + ")";
}

void ForgetAll()
{
    s_program = 0;
    s_texture = 0;
    s_vertexArray = 0;
}
} // namespace

bool GlState::IsLive()
{
    return s_live;
}

unsigned GlState::ContextGeneration()
{
    return s_generation;
}

void GlState::SetLive(bool live)
{
    s_live = live;
    ForgetAll();
    if (!live)
    {
        s_white = 0;
        s_maxTextureSize = 0;
    }
    else
    {
        ++s_generation;
        LumInstance::SetNeutralInputs();
    }
}

void GlState::UseProgram(unsigned program)
{
    if (!s_live || program == s_program)
        return;
    glUseProgram(program);
    s_program = program;
    ++s_counts.programs;
}

void GlState::BindTexture(unsigned texture)
{
    if (!s_live || texture == s_texture)
        return;
    glBindTexture(GL_TEXTURE_2D, texture);
    s_texture = texture;
    ++s_counts.textures;
}

void GlState::BindVertexArray(unsigned vertexArray)
{
    if (!s_live || vertexArray == s_vertexArray)
        return;
    glBindVertexArray(vertexArray);
    s_vertexArray = vertexArray;
    ++s_counts.vertexArrays;
}

void GlState::ForgetProgram(unsigned program)
{
    if (program == s_program)
        s_program = 0;
}

void GlState::ForgetTexture(unsigned texture)
{
    if (texture == s_texture)
        s_texture = 0;
}

void GlState::ForgetVertexArray(unsigned vertexArray)
{
    if (vertexArray == s_vertexArray)
        s_vertexArray = 0;
}

unsigned GlState::WhiteTexture()
{
    if (!s_live)
        return 0;
    if (s_white == 0)
    {
        const unsigned char white[4] = {255, 255, 255, 255};
        glGenTextures(1, &s_white);
        glBindTexture(GL_TEXTURE_2D, s_white);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glBindTexture(GL_TEXTURE_2D, s_texture);
    }
    return s_white;
}

void GlState::Release()
{
    LightUniforms::Release();
    LightMap::Release();
    SpriteBatch::Release();
    if (s_live && s_white != 0)
    {
        ForgetTexture(s_white);
        glDeleteTextures(1, &s_white);
    }
    s_white = 0;
}

const GlState::BindCounts& GlState::Counts()
{
    return s_counts;
}

void GlState::ResetCounts()
{
    s_counts = BindCounts{};
}

void GlState::ClearErrors(std::string_view before)
{
    if (!s_live)
        return;
    // A lost context keeps answering with an error; a few reads are enough.
    for (int i = 0; i < 8; ++i)
    {
        const GLenum code = glGetError();
        if (code == GL_NO_ERROR)
            return;
        Trace::Error(ErrorText(code) + " left by an unchecked call before " + std::string(before));
    }
}

void GlState::CheckError(std::string_view call)
{
    if (!s_live)
        return;
    const GLenum code = glGetError();
    if (code == GL_NO_ERROR)
        return;
    throw FatalError(ErrorText(code) + " in " + std::string(call));
}

int GlState::MaxTextureSize()
{
    if (!s_live)
        return 0;
    if (s_maxTextureSize == 0)
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &s_maxTextureSize);
    return s_maxTextureSize;
}
