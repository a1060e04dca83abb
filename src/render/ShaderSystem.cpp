#include "render/ShaderSystem.h"

#include "core/Trace.h"
#include "data/DataPath.h"
#include "data/FieldDescriptor.h"
#include "data/JsonError.h"
#include "data/Stream.h"
#include "render/GlState.h"
#include "render/ScreenCamera.h"

namespace
{
void UploadProjection(int, int, const glm::mat4& projection)
{
    ShaderSystem::Instance().UploadToAll(Uniform::Projection, projection);
}
} // namespace

ShaderSystem& ShaderSystem::Instance()
{
    static ShaderSystem system;
    return system;
}

bool ShaderSystem::Init()
{
    Stream stream(kTablePath, RawPath);
    if (!stream.IsOpen())
    {
        Trace::Error(std::string(kTablePath) + ": cannot open the shader table");
        return false;
    }
    const json& table = stream.GetJson();
    if (!table.is_array() && !table.is_object())
    {
        if (stream.HasJson())
            Trace::Error(std::string(kTablePath) + ": the shader table must be an array of entries");
        return false;
    }

    // The defaults stand behind every entry, so they must exist and compile even when
    // no row names them.
    LumShader defaults(kDefaultVertex, kDefaultPixel);

    for (const json& row : table)
    {
        try
        {
            FieldIo::RequireObject(row);
            std::string name = row.at("name").get<std::string>();
            if (Find(name))
                continue;
            auto entry = std::make_unique<ShaderEntry>();
            entry->_name = std::move(name);
            entry->_vertexFile = row.at("vertexfile").get<std::string>();
            entry->_pixelFile = row.at("pixelfile").get<std::string>();
            if (auto fades = row.find("fadeswithtint"); fades != row.end())
                entry->_fadesWithTint = fades->get<bool>();
            if (!CheckDataPath(entry->_vertexFile, kTablePath, row.at("vertexfile")) ||
                !CheckDataPath(entry->_pixelFile, kTablePath, row.at("pixelfile")))
                continue;
            entry->_shader = std::make_unique<LumShader>(entry->_vertexFile, entry->_pixelFile);
            _entries.push_back(std::move(entry));
        }
        catch (const json::exception& e)
        {
            ReportJsonError(kTablePath, e);
        }
    }

    if (_entries.empty())
    {
        Trace::Error(std::string(kTablePath) + ": the shader table holds no usable entry");
        return false;
    }
    ScreenCamera::SetUploadHook(&UploadProjection);
    UploadToAll(Uniform::Projection, ScreenCamera::Instance().GetProjection());
    return true;
}

void ShaderSystem::Exit()
{
    ScreenCamera::SetUploadHook(nullptr);
    GlState::UseProgram(0);
    _entries.clear();
}

ShaderEntry* ShaderSystem::Find(std::string_view name) const
{
    for (const auto& entry : _entries)
        if (entry->_name == name)
            return entry.get();
    return nullptr;
}

void ShaderSystem::UploadToAll(Uniform uniform, const glm::mat4& value) const
{
    if (!GlState::IsLive())
        return;
    for (const auto& entry : _entries)
    {
        entry->_shader->Use();
        entry->_shader->Set(uniform, value);
    }
}
