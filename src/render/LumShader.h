#pragma once

#include <glm/mat3x3.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// Every uniform the renderer ever sets, in the order their locations are cached.
enum class Uniform : std::size_t
{
    Projection,
    Tint,
    Brightness,
    Uv,
    World,
    Camera,
    ThreeD,
    LightPos,
    LightCount,
    LightRadii,
    LightFactors,
    LightFalloffs,
    AmbientFactor,
    GrainFactor,
    LightColors,
    LightCones,
    LightInnerRadii,
    LightInnerFalloffs,
    Time,
    TotalFlashlights,
    Flashlight,
    VertCount,
    Cone,
    FlashlightFalloff,
    FlashlightFactor,
    FlashlightRadii,
    InnerFalloffs,
    InnerRadii,
    LightMap,
    LightPass,
    Count
};

// The GLSL name of a uniform ("projection", "lightPos", ...).
std::string_view UniformName(Uniform uniform);

// One linked GL program with the location of every uniform in the table looked up
// once (-1 where the program does not declare it). Without a live GL context the
// object keeps its file names and program 0, and uploads do nothing.
class LumShader
{
public:
    static constexpr std::size_t kUniformCount = static_cast<std::size_t>(Uniform::Count);

    // Reads, compiles and links; a stage that does not compile or a program that does
    // not link is reported on standard error and stops the program.
    LumShader(const std::string& vertexFile, const std::string& pixelFile, const std::string& geometryFile = {});
    virtual ~LumShader();

    LumShader(const LumShader&) = delete;
    LumShader& operator=(const LumShader&) = delete;

    unsigned GetProgram() const { return _program; }
    int GetLocation(Uniform uniform) const { return _locations[static_cast<std::size_t>(uniform)]; }

    // Makes this the current program (skipped when it already is).
    void Use() const;

    // Uploads to the current program, which must be this one. Values persist in a
    // program, so one equal to what this program last received, or one for a uniform
    // it does not declare, makes no GL call.
    void Set(Uniform uniform, float value) const;
    void Set(Uniform uniform, int value) const;
    void Set(Uniform uniform, const glm::vec4& value) const;
    void Set(Uniform uniform, const glm::mat3& value) const;
    void Set(Uniform uniform, const glm::mat4& value) const;

protected:
    // For the compute variant, which builds its program itself.
    LumShader() = default;
    void CacheLocations();

    // Writes the compile or link report and throws.
    [[noreturn]] static void Fail(unsigned object, bool isProgram, const std::string& label);
    static std::string ReadSource(const std::string& path);
    static unsigned CompileStage(unsigned stageType, const std::string& path, const std::string& label);

    // True (and remembered) when `count` floats differ from what the uniform holds.
    bool Changed(Uniform uniform, const float* values, std::size_t count) const;

    unsigned _program = 0;
    std::array<int, kUniformCount> _locations;
    mutable std::array<std::array<float, 16>, kUniformCount> _sent{};
    mutable std::array<bool, kUniformCount> _known{};
};
