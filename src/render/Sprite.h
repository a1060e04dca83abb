#pragma once

#include "data/Component.h"
#include "data/FieldDescriptor.h"
#include "data/StaticSettings.h"
#include "render/LumInstance.h"

#include <glm/mat3x3.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec4.hpp>

#include <memory>
#include <string>
#include <string_view>

class LumMesh;
class LumShader;
class Mesh;
class SpriteSource;
struct ShaderEntry;

// Draws an entity: a mesh with an optional frame of a texture grid, tinted, or a line
// of fixed-grid text when _text is set.
class Sprite : public ComponentBase<Sprite>
{
public:
    Sprite() : ComponentBase<Sprite>(ctype::Sprite) {}

    // Reads the fields, takes copies of the named mesh and sprite source, applies the
    // blend mode and finds the shader. A shader name the shader system does not know
    // is reported with the file and JSON path; the sprite is then not drawn.
    void Read(const json& j) override;
    void Write(json& j) const override;
    void Render() override;

    // Each channel clamped to [0, 1].
    void SetTint(float r, float g, float b, float a);
    void SetTint(const glm::vec4& tint) { SetTint(tint.r, tint.g, tint.b, tint.a); }
    const glm::vec4& GetTint() const { return _tint; }
    void SetOutlineColour(float r, float g, float b, float a);
    const glm::vec4& GetOutlineColour() const { return _outlineColour; }

    const std::string& GetText() const { return _text; }
    void SetText(std::string text) { _text = std::move(text); }

    // Draws with a given world matrix instead of the owner's (the scene's draw items).
    void RenderWithMatrix(const glm::mat4& world);

    void SetFrame(unsigned index);
    unsigned GetFrame() const { return _frameIndex; }
    const glm::mat3& GetFrameTransform() const { return _frameTransform; }

    int GetBlendMode() const { return _blendMode; }
    bool GetParallax() const { return _parallax; }
    bool GetTextCenter() const { return _textCenter; }
    float GetBrightness() const { return _brightness; }
    void SetBrightness(float brightness) { _brightness = brightness; }

    Mesh* GetMesh() const { return _mesh.get(); }
    SpriteSource* GetSource() const { return _source.get(); }
    ShaderEntry* GetShader() const { return _shader; }
    LumInstance& Instances() { return _instances; }

    // The parallax offset of an entity at `translation` and `depth` seen through a
    // camera whose view translation is `cameraTranslation`.
    static glm::vec2 ParallaxOffset(const glm::vec2& cameraTranslation, const glm::vec2& translation, int depth);

    static const FieldDescriptor<Sprite>& Descriptor();

    // Time, grain, ambient and the light counts, on the program in use.
    static void ApplyFrameUniforms(const LumShader& shader);
    // Before a lit program (one that reads the light map) draws through `camera`: brings
    // the light map up to date. Call before binding anything for the draw.
    static void PrepareLight(const LumShader& shader, const glm::mat4& camera);

    // Class-wide film grain and ambient light, kept in Data/Static/sprite.json.
    static StaticSettings& Settings();
    static float& GrainFactor();
    static float& AmbientLighting();

private:
    void Bind() const;
    void Draw(const glm::mat4& world);
    glm::mat4 WorldMatrix(const glm::mat4& ownerWorld, const glm::vec2& cameraTranslation) const;
    // A filled mesh with no text and no instances of its own goes into a batch.
    bool CanBatch(const LumMesh& gpu) const;
    void DrawText(const glm::mat4& world) const;
    void DrawArrays(unsigned mode, unsigned count) const;
    // A sprite that cannot be drawn says so once, naming where it was read.
    void ReportOnce(std::string_view problem);

    ShaderEntry* _shader = nullptr;
    LumInstance _instances;
    std::shared_ptr<Mesh> _mesh;
    std::shared_ptr<SpriteSource> _source;
    glm::mat3 _frameTransform{1.0f};
    glm::vec4 _outlineColour{1.0f};
    bool _textCenter = false;
    float _brightness = 0.0f;
    int _blendMode = 1;
    std::string _text;
    glm::vec4 _tint{1.0f};
    unsigned _frameIndex = 0;
    bool _parallax = false;
    std::string _file;
    std::string _jsonPath;
    bool _reported = false;
};
