#include "render/Mesh.h"

#include "data/DataFileScope.h"
#include "data/JsonError.h"

namespace
{
std::vector<std::unique_ptr<Mesh>>& MeshTable()
{
    static std::vector<std::unique_ptr<Mesh>> table;
    return table;
}
} // namespace

const FieldDescriptor<Mesh>& Mesh::Descriptor()
{
    static const FieldDescriptor<Mesh> descriptor("Mesh", {
                                                              GLOAMER_FIELD(Mesh, _name),
                                                              GLOAMER_FIELD(Mesh, _type),
                                                              GLOAMER_FIELD(Mesh, _halfSizeX),
                                                              GLOAMER_FIELD(Mesh, _halfSizeY),
                                                              GLOAMER_FIELD(Mesh, _u),
                                                              GLOAMER_FIELD(Mesh, _v),
                                                              GLOAMER_FIELD(Mesh, _divisions),
                                                          });
    return descriptor;
}

const std::vector<std::unique_ptr<Mesh>>& Mesh::Table()
{
    return MeshTable();
}

void Mesh::ClearTable()
{
    MeshTable().clear();
}

Mesh* Mesh::Find(const std::string& name)
{
    for (const auto& mesh : MeshTable())
        if (mesh->_name == name)
            return mesh.get();
    return nullptr;
}

Mesh* Mesh::LookupOrBuild(const json& meshJson)
{
    FieldIo::RequireObject(meshJson);
    const std::string type = meshJson.at("type").get<std::string>();
    if (type != "quadinstance")
        if (Mesh* found = Find(meshJson.at("name").get<std::string>()))
            return found;

    auto mesh = std::make_unique<Mesh>();
    if (!mesh->Read(meshJson))
        return nullptr;
    MeshTable().push_back(std::move(mesh));
    return MeshTable().back().get();
}

std::shared_ptr<Mesh> Mesh::ForComponent(const json& component)
{
    auto it = component.find("mesh");
    if (it == component.end())
        return nullptr;
    const Mesh* found = LookupOrBuild(*it);
    return found ? found->Copy() : nullptr;
}

bool Mesh::Read(const json& j)
{
    Descriptor().Read(*this, j);
    const std::string_view file = DataFileScope::Current();
    if (_divisions > kMaxDivisions)
    {
        ReportDataError(file, JsonPathOf(j.at("divisions")),
                        std::to_string(_divisions) + " divisions is more than " + std::to_string(kMaxDivisions) +
                            "; capped");
        _divisions = kMaxDivisions;
    }
    if (Build())
        return true;
    const json& at = j.contains("type") ? j.at("type") : j;
    ReportDataError(file, JsonPathOf(at),
                    Geometry::ForType(_type, GetShape()) ? "mesh \"" + _name + "\" has no vertices; not drawn"
                                                         : "unknown mesh type \"" + _type + "\"; not drawn");
    return false;
}

void Mesh::Write(json& j) const
{
    Descriptor().Write(*this, j);
    if (_type == "tilemap")
    {
        j["rows"] = _rows;
        j["cols"] = _cols;
    }
}

bool Mesh::Build()
{
    std::optional<MeshGeometry> geometry = Geometry::ForType(_type, GetShape());
    if (!geometry || geometry->vertices.empty())
    {
        _gpu.reset();
        return false;
    }
    _gpu = std::make_shared<LumMesh>();
    _shared.reset();
    _gpu->Begin();
    _gpu->AddVertices(geometry->vertices);
    _gpu->AddIndexPairs(geometry->indices);
    _gpu->Finish();
    return true;
}

std::unique_ptr<Mesh> Mesh::Copy() const
{
    auto copy = std::make_unique<Mesh>();
    copy->_rows = _rows;
    copy->_cols = _cols;
    copy->_name = _name;
    copy->_type = _type;
    copy->_halfSizeX = _halfSizeX;
    copy->_halfSizeY = _halfSizeY;
    copy->_u = _u;
    copy->_v = _v;
    copy->_divisions = _divisions;
    if (_gpu)
    {
        copy->_gpu = _gpu->Copy();
        copy->_shared = _shared ? _shared : _gpu;
    }
    return copy;
}
