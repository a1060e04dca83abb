#include "render/Sprite.h"

#include "core/MainLoop.h"
#include "data/DataFileScope.h"
#include "data/Entity.h"
#include "data/JsonError.h"
#include "data/TypeRegistry.h"
#include "render/AtlasGrid.h"
#include "render/BlendMode.h"
#include "render/GlState.h"
#include "render/LightMap.h"
#include "render/LightUniforms.h"
#include "render/Mesh.h"
#include "render/RenderState.h"
#include "render/SceneCamera.h"
#include "render/ScreenCamera.h"
#include "render/ShaderSystem.h"
#include "render/SpriteBatch.h"
#include "render/SpriteSource.h"

#include <glad/gl.h>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>

GLOAMER_REGISTER_COMPONENT(Sprite, ctype::Sprite)

namespace
{
float s_grainFactor = 0.0f;
float s_ambientLighting = 0.0f;

glm::vec4 Clamped(float r, float g, float b, float a)
{
    return glm::clamp(glm::vec4(r, g, b, a), 0.0f, 1.0f);
}

// The view the world is seen through: the current scene camera, or the identity while
// drawing in screen space or without a camera.
struct SceneView
{
    glm::mat4 matrix{1.0f};
    glm::vec2 translation{0.0f};
};

SceneView CurrentSceneView()
{
    if (RenderState::IsScreenSpace())
        return {};
    const SceneCamera* camera = RenderState::GetCamera();
    if (!camera)
        return {};
    return {camera->GetMatrix(), glm::vec2(camera->GetTranslation())};
}
} // namespace

const FieldDescriptor<Sprite>& Sprite::Descriptor()
{
    static const FieldDescriptor<Sprite> descriptor("Sprite", {
                                                                  GLOAMER_FIELD(Sprite, _blendMode),
                                                                  GLOAMER_FIELD(Sprite, _text),
                                                                  GLOAMER_FIELD(Sprite, _tint),
                                                                  GLOAMER_FIELD(Sprite, _frameIndex),
                                                                  GLOAMER_FIELD(Sprite, _parallax),
                                                              });
    return descriptor;
}

StaticSettings& Sprite::Settings()
{
    static StaticSettings settings("Sprite",
                                   {{&s_grainFactor, "_grainFactor"}, {&s_ambientLighting, "_ambientLighting"}});
    settings.EnsureLoaded();
    return settings;
}

float& Sprite::GrainFactor()
{
    Settings();
    return s_grainFactor;
}

float& Sprite::AmbientLighting()
{
    Settings();
    return s_ambientLighting;
}

glm::vec2 Sprite::ParallaxOffset(const glm::vec2& cameraTranslation, const glm::vec2& translation, int depth)
{
    return (cameraTranslation + translation) * static_cast<float>(depth) * 0.0075f;
}

void Sprite::Read(const json& j)
{
    _file = DataFileScope::Current();
    _jsonPath = JsonPathOf(j);
    Descriptor().Read(*this, j);
    SetTint(_tint);

    // Keys left out keep what the sprite already has, so an entity file can adjust
    // an archetype's sprite without repeating its mesh, source and shader.
    if (j.contains("mesh"))
        _mesh = Mesh::ForComponent(j);
    if (j.contains("spritesource"))
        _source = SpriteSource::ForComponent(j);

    BlendMode::ForMode(_blendMode).Apply();

    if (auto shader = j.find("shader"); shader != j.end())
    {
        FieldIo::RequireObject(*shader);
        const json& nameJson = shader->at("name");
        const std::string name = nameJson.get<std::string>();
        _shader = ShaderSystem::Instance().Find(name);
        if (auto it = j.find("brightness"); it != j.end())
            FieldIo::ReadValue(_brightness, *it);
        if (_shader)
        {
            _shader->_shader->Use();
            _shader->_shader->Set(Uniform::Projection, ScreenCamera::Instance().GetProjection());
            _shader->_shader->Set(Uniform::Brightness, _brightness);
        }
        else
        {
            ReportDataError(_file, JsonPathOf(nameJson),
                            "shader \"" + name + "\" is not in the shader table; the sprite is not drawn");
            _reported = true;
        }
    }
    if (auto it = j.find("textcenter"); it != j.end())
        _textCenter = it->get<bool>();
    SetFrame(_frameIndex);
}

void Sprite::Write(json& j) const
{
    Descriptor().Write(*this, j);
    if (_mesh)
    {
        json mesh = json::object();
        _mesh->Write(mesh);
        j["mesh"] = std::move(mesh);
    }
    if (_shader)
    {
        j["shader"] = {{"name", _shader->_name}};
        j["brightness"] = FieldIo::WriteValue(_brightness);
    }
    if (_source)
    {
        json source = json::object();
        _source->Write(source);
        j["spritesource"] = std::move(source);
    }
    j["textcenter"] = _textCenter;
}

void Sprite::SetTint(float r, float g, float b, float a)
{
    _tint = Clamped(r, g, b, a);
}

void Sprite::SetOutlineColour(float r, float g, float b, float a)
{
    _outlineColour = Clamped(r, g, b, a);
}

void Sprite::SetFrame(unsigned index)
{
    _frameIndex = index;
    _frameTransform =
        _source ? AtlasGrid::CellTransform(index, _source->GetCols(), _source->GetRows()) : glm::mat3(1.0f);
}

void Sprite::Render()
{
    Draw(GetOwner() ? GetOwner()->GetTransform().GetMatrix() : glm::mat4(1.0f));
}

void Sprite::RenderWithMatrix(const glm::mat4& world)
{
    Draw(world);
}

void Sprite::Bind() const
{
    const LumShader& shader = *_shader->_shader;
    shader.Use();
    // Untextured sprites (and textures that failed to load) sample plain white, so
    // they show their tint instead of whatever texture was bound last.
    const unsigned texture = _source ? _source->GetTextureName() : 0;
    GlState::BindTexture(texture != 0 ? texture : GlState::WhiteTexture());
    if (_mesh && _mesh->GetGpu())
        GlState::BindVertexArray(_mesh->GetGpu()->GetFillArray());
    ApplyFrameUniforms(shader);
}

void Sprite::ApplyFrameUniforms(const LumShader& shader)
{
    // These change at most once a frame (or per scene); a program that already holds
    // the value costs no GL call.
    shader.Set(Uniform::Time, static_cast<float>(Engine::FrameClock()));
    shader.Set(Uniform::GrainFactor, GrainFactor());
    shader.Set(Uniform::AmbientFactor, RenderState::AreLightsDisabled() ? 1.0f : AmbientLighting());
    shader.Set(Uniform::LightCount, LightUniforms::DrawnLights());
    shader.Set(Uniform::TotalFlashlights, LightUniforms::DrawnFlashlights());
}

void Sprite::PrepareLight(const LumShader& shader, const glm::mat4& camera)
{
    if (shader.GetLocation(Uniform::LightMap) >= 0)
        LightMap::Prepare(camera, RenderState::AreLightsDisabled() ? 1.0f : AmbientLighting());
}

void Sprite::Draw(const glm::mat4& ownerWorld)
{
    if (!GlState::IsLive())
        return;
    if (!_shader)
    {
        ReportOnce("the sprite has no shader; it is not drawn");
        return;
    }
    LumMesh* gpu = _mesh ? _mesh->GetGpu() : nullptr;
    // Fade panels wait fully clear most of the time; drawn, they would still shade
    // every pixel they cover. Outlines have their own colour.
    if (_tint.a <= 0.0f && _shader->_fadesWithTint && !(gpu && (gpu->GetDrawMode() & LumMesh::Outline)) &&
        BlendMode::IgnoresClearSource())
        return;
    const SceneView view = CurrentSceneView();
    if (gpu && CanBatch(*gpu))
    {
        SpriteBatch::Instance instance;
        instance.world = WorldMatrix(ownerWorld, view.translation);
        instance.tint = _tint;
        instance.sheetOffset = {_frameTransform[2][0], _frameTransform[2][1]};
        const unsigned texture = _source ? _source->GetTextureName() : 0;
        SpriteBatch::Add({_shader->_shader.get(), texture != 0 ? texture : GlState::WhiteTexture(),
                          _mesh->GetSharedGpu(), _brightness, view.matrix},
                         instance);
        return;
    }
    // Whatever is queued was meant to be drawn before this.
    SpriteBatch::Flush();
    PrepareLight(*_shader->_shader, view.matrix);
    Bind();
    const glm::mat4 world = WorldMatrix(ownerWorld, view.translation);
    if (!gpu)
        return;
    const LumShader& shader = *_shader->_shader;
    // Without a source the identity goes up too, so no frame of the sprite drawn before
    // with this program is left behind.
    shader.Set(Uniform::Uv, _frameTransform);
    shader.Set(Uniform::Camera, view.matrix);

    if (!_text.empty())
    {
        if (_source)
            DrawText(world);
        else
            ReportOnce("text without a font (no \"spritesource\"); it is not drawn");
        return;
    }

    shader.Set(Uniform::World, world);
    shader.Set(Uniform::Brightness, _brightness);
    const std::uint8_t mode = gpu->GetDrawMode();
    if (mode >= LumMesh::Fan)
    {
        shader.Set(Uniform::Tint, _tint);
        GlState::BindVertexArray(gpu->GetFillArray());
        glDrawArrays(GL_TRIANGLE_FAN, 0, static_cast<GLsizei>(gpu->GetVertexCount()));
        return;
    }
    if (mode & LumMesh::Filled)
    {
        shader.Set(Uniform::Tint, _tint);
        GlState::BindVertexArray(gpu->GetFillArray());
        DrawArrays(gpu->GetVertexCount() < 2 ? GL_POINTS : GL_TRIANGLES, gpu->GetVertexCount());
    }
    if (mode & LumMesh::Outline)
    {
        shader.Set(Uniform::Tint, _outlineColour);
        GlState::BindVertexArray(gpu->GetOutlineArray());
        const auto count = static_cast<GLsizei>(2 * gpu->GetIndexCount());
        if (_instances.GetCount() != 0)
            glDrawElementsInstanced(GL_LINES, count, GL_UNSIGNED_INT, nullptr,
                                    static_cast<GLsizei>(_instances.GetCount()));
        else
            glDrawElements(GL_LINES, count, GL_UNSIGNED_INT, nullptr);
    }
}

glm::mat4 Sprite::WorldMatrix(const glm::mat4& ownerWorld, const glm::vec2& cameraTranslation) const
{
    if (!_parallax || !GetOwner())
        return ownerWorld;
    const Transform& t = GetOwner()->GetTransform();
    const glm::vec2 offset = ParallaxOffset(cameraTranslation, t.GetTranslation(), t.GetDepth());
    return glm::translate(glm::mat4(1.0f), glm::vec3(offset, 0.0f)) * ownerWorld;
}

bool Sprite::CanBatch(const LumMesh& gpu) const
{
    // Only a frame offset fits an instance's sheet offset; the grid never makes more.
    const bool offsetOnly = _frameTransform[0] == glm::vec3(1.0f, 0.0f, 0.0f) &&
                            _frameTransform[1] == glm::vec3(0.0f, 1.0f, 0.0f) && _frameTransform[2][2] == 1.0f;
    return _text.empty() && _instances.GetCount() == 0 && gpu.GetDrawMode() == LumMesh::Filled &&
           gpu.GetVertexCount() >= 2 && offsetOnly && _mesh->GetSharedGpu() != nullptr &&
           _mesh->GetSharedGpu()->IsCurrent();
}

void Sprite::DrawArrays(unsigned mode, unsigned count) const
{
    if (_instances.GetCount() != 0)
        glDrawArraysInstanced(mode, 0, static_cast<GLsizei>(count), static_cast<GLsizei>(_instances.GetCount()));
    else
        glDrawArrays(mode, 0, static_cast<GLsizei>(count));
}

void Sprite::DrawText(const glm::mat4& world) const
{
    const LumShader& shader = *_shader->_shader;
    const LumMesh& gpu = *_mesh->GetGpu();
    shader.Set(Uniform::Brightness, _brightness);
    shader.Set(Uniform::Tint, _tint);
    GlState::BindVertexArray(gpu.GetFillArray());

    const GLenum primitive = gpu.GetVertexCount() < 2 ? GL_POINTS : GL_TRIANGLES;
    float x = AtlasGrid::TextStartX(_text.size(), _textCenter);
    for (const char c : _text)
    {
        const unsigned cell = AtlasGrid::GlyphCell(static_cast<unsigned char>(c));
        shader.Set(Uniform::Uv, AtlasGrid::CellTransform(cell, _source->GetCols(), _source->GetRows()));
        shader.Set(Uniform::World, world * glm::translate(glm::mat4(1.0f), glm::vec3(x, 0.0f, 0.0f)));
        glDrawArrays(primitive, 0, static_cast<GLsizei>(gpu.GetVertexCount()));
        x += 1.0f;
    }
}

void Sprite::ReportOnce(std::string_view problem)
{
    if (_reported)
        return;
    _reported = true;
    ReportDataError(_file.empty() ? DataFileScope::Current() : std::string_view(_file), _jsonPath, problem);
}
