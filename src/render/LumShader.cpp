#include "render/LumShader.h"

#include "core/FatalError.h"
#include "core/Trace.h"
#include "render/GlState.h"
#include "render/LightMap.h"
#include "render/LightUniforms.h"
#include "render/SpriteBatch.h"

#include <glad/gl.h>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

namespace
{
constexpr std::array<std::string_view, LumShader::kUniformCount> kUniformNames = {
    "projection",
    "tint",
    "brightness",
    "uv",
    "world",
    "camera",
    "threeD",
    "lightPos",
    "lightCount",
    "lightRadii",
    "lightFactors",
    "lightFalloffs",
    "ambientFactor",
    "grainFactor",
    "lightColors",
    "lightCones",
    "lightInnerRadii",
    "lightInnerFalloffs",
    "time",
    "totalFlashlights",
    "flashlight",
    "vertCount",
    "cone",
    "flashlightFalloff",
    "flashlightFactor",
    "flashlightRadii",
    "innerFalloffs",
    "innerRadii",
    "lightMap",
    "lightPass",
};

std::string InfoLog(GLuint object, bool isProgram, GLsizei limit)
{
    std::string log(static_cast<std::size_t>(limit), '\0');
    GLsizei length = 0;
    if (isProgram)
        glGetProgramInfoLog(object, limit, &length, log.data());
    else
        glGetShaderInfoLog(object, limit, &length, log.data());
    log.resize(static_cast<std::size_t>(length));
    return log;
}
} // namespace

std::string_view UniformName(Uniform uniform)
{
    const auto i = static_cast<std::size_t>(uniform);
    return i < kUniformNames.size() ? kUniformNames[i] : std::string_view();
}

LumShader::LumShader(const std::string& vertexFile, const std::string& pixelFile, const std::string& geometryFile)
{
    _locations.fill(-1);
    if (!GlState::IsLive())
        return;

    GLuint geometry = 0;
    if (!geometryFile.empty())
        geometry =
            CompileStage(GL_GEOMETRY_SHADER, geometryFile, "Geometry Shader: " + geometryFile + " Failed to Compile");
    const GLuint vertex =
        CompileStage(GL_VERTEX_SHADER, vertexFile, "Vertex Shader: " + vertexFile + " Failed to Compile");
    const GLuint pixel =
        CompileStage(GL_FRAGMENT_SHADER, pixelFile, "Pixel Shader: " + pixelFile + " Failed to Compile");

    _program = glCreateProgram();
    glAttachShader(_program, vertex);
    glAttachShader(_program, pixel);
    if (geometry)
        glAttachShader(_program, geometry);
    glLinkProgram(_program);
    GLint linked = GL_FALSE;
    glGetProgramiv(_program, GL_LINK_STATUS, &linked);
    glDeleteShader(vertex);
    glDeleteShader(pixel);
    if (geometry)
        glDeleteShader(geometry);
    if (linked != GL_TRUE)
        Fail(_program, true, vertexFile + pixelFile + " Failed to Link");

    CacheLocations();
}

LumShader::~LumShader()
{
    if (_program != 0 && GlState::IsLive())
    {
        GlState::UseProgram(0);
        GlState::ForgetProgram(_program);
        glDeleteProgram(_program);
    }
}

void LumShader::CacheLocations()
{
    for (std::size_t i = 0; i < kUniformCount; ++i)
        _locations[i] = glGetUniformLocation(_program, std::string(kUniformNames[i]).c_str());
    _known.fill(false);
    LightUniforms::BindBlocks(_program);
    // Samplers keep their unit for the program's life.
    if (const int lightMap = GetLocation(Uniform::LightMap); lightMap >= 0)
    {
        GlState::UseProgram(_program);
        glUniform1i(lightMap, LightMap::kTextureUnit);
    }
}

bool LumShader::Changed(Uniform uniform, const float* values, std::size_t count) const
{
    const auto i = static_cast<std::size_t>(uniform);
    if (_program == 0 || _locations[i] < 0)
        return false;
    std::array<float, 16>& sent = _sent[i];
    if (_known[i] && std::memcmp(sent.data(), values, count * sizeof(float)) == 0)
        return false;
    // Sprites queued for this program were meant to draw with the old value.
    SpriteBatch::BeforeUniformChange(this);
    std::copy(values, values + count, sent.begin());
    _known[i] = true;
    return true;
}

std::string LumShader::ReadSource(const std::string& path)
{
    std::ifstream in(path, std::ios::in);
    if (!in)
    {
        Trace::Error(path + ": cannot read the shader source");
        return {};
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

unsigned LumShader::CompileStage(unsigned stageType, const std::string& path, const std::string& label)
{
    const std::string source = ReadSource(path);
    const GLuint stage = glCreateShader(stageType);
    if (stage == 0)
        Fail(0, false, label);
    const char* text = source.c_str();
    glShaderSource(stage, 1, &text, nullptr);
    glCompileShader(stage);
    GLint compiled = GL_FALSE;
    glGetShaderiv(stage, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE)
        Fail(stage, false, label);
    return stage;
}

void LumShader::Fail(unsigned object, bool isProgram, const std::string& label)
{
    const std::string log = object != 0 ? InfoLog(object, isProgram, 1024) : std::string();
    std::cerr << log << "\n"
              << "Failed to compile the vertex stage: "
              << "\n"
              << "File: " << label << "\n"
              << log.substr(0, 256) << std::endl;
    Trace::Message("File: " + label);
    if (!log.empty())
        Trace::Message(log);
    if (object != 0)
    {
        if (isProgram)
            glDeleteProgram(object);
        else
            glDeleteShader(object);
    }
    throw FatalError(label);
}

void LumShader::Use() const
{
    GlState::UseProgram(_program);
}

void LumShader::Set(Uniform uniform, float value) const
{
    if (Changed(uniform, &value, 1))
        glUniform1f(GetLocation(uniform), value);
}

void LumShader::Set(Uniform uniform, int value) const
{
    // Kept by bit pattern, which an int shares with no float this uniform receives.
    float bits;
    std::memcpy(&bits, &value, sizeof(bits));
    if (Changed(uniform, &bits, 1))
        glUniform1i(GetLocation(uniform), value);
}

void LumShader::Set(Uniform uniform, const glm::vec4& value) const
{
    if (Changed(uniform, glm::value_ptr(value), 4))
        glUniform4fv(GetLocation(uniform), 1, glm::value_ptr(value));
}

void LumShader::Set(Uniform uniform, const glm::mat3& value) const
{
    if (Changed(uniform, glm::value_ptr(value), 9))
        glUniformMatrix3fv(GetLocation(uniform), 1, GL_FALSE, glm::value_ptr(value));
}

void LumShader::Set(Uniform uniform, const glm::mat4& value) const
{
    if (Changed(uniform, glm::value_ptr(value), 16))
        glUniformMatrix4fv(GetLocation(uniform), 1, GL_FALSE, glm::value_ptr(value));
}
