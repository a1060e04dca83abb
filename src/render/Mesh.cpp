#include "render/Mesh.h"

#include "core/FatalError.h"

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
    mesh->Read(meshJson);
    MeshTable().push_back(std::move(mesh));
    return MeshTable().back().get();
}

std::shared_ptr<Mesh> Mesh::ForComponent(const json& component)
{
    auto it = component.find("mesh");
    if (it == component.end())
        return nullptr;
    return LookupOrBuild(*it)->Copy();
}

void Mesh::Read(const json& j)
{
    Descriptor().Read(*this, j);
    Build();
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

void Mesh::Build()
{
    std::optional<MeshGeometry> geometry = Geometry::ForType(_type, GetShape());
    if (!geometry)
        throw FatalError("Type does not exist or is mispelled: \"" + _type + "\"");
    _gpu = std::make_unique<LumMesh>();
    _gpu->Begin();
    _gpu->AddVertices(geometry->vertices);
    _gpu->AddIndexPairs(geometry->indices);
    _gpu->Finish();
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
        copy->_gpu = _gpu->Copy();
    return copy;
}
