#pragma once

#include "core/System.h"
#include "render/LumShader.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One row of the shader table.
struct ShaderEntry
{
    std::unique_ptr<LumShader> _shader;
    std::string _name;
    std::string _vertexFile;
    std::string _pixelFile;
    std::string _geometryFile;
    // "fadeswithtint": the program's alpha is the tint's alpha times the rest, so a
    // sprite tinted to alpha 0 shows nothing where blending weighs by alpha.
    bool _fadesWithTint = false;
};

// Compiles every program of Data/Shaders/shaders.json at start-up and keeps them, in
// table order, until exit. Sprites find theirs by name.
class ShaderSystem : public System
{
public:
    static constexpr const char* kTablePath = "Data/Shaders/shaders.json";
    static constexpr const char* kDefaultVertex = "Shaders/VertexShaderDefault.glsl";
    static constexpr const char* kDefaultPixel = "Shaders/PixelShaderTexDefault.glsl";

    ShaderSystem() : System("ShaderSystem") {}

    static ShaderSystem& Instance();

    // False (start-up stops) when the table is missing, unreadable or holds no usable
    // row. A bad row is reported with its JSON path and skipped.
    bool Init() override;
    void Update(float) override {}
    void Exit() override;

    // Exact, case-sensitive match of the whole name; null when absent.
    ShaderEntry* Find(std::string_view name) const;
    const std::vector<std::unique_ptr<ShaderEntry>>& Entries() const { return _entries; }

    // Sets the same matrix on every program (the projection after a resize).
    void UploadToAll(Uniform uniform, const glm::mat4& value) const;

private:
    std::vector<std::unique_ptr<ShaderEntry>> _entries;
};
