#pragma once

#include "data/FieldDescriptor.h"
#include "render/LumMesh.h"

#include <memory>
#include <string>
#include <vector>

// A mesh description read from JSON (type and sizes) owning its built GPU mesh. Table
// meshes are built once per name; each sprite draws its own copy.
class Mesh
{
public:
    Mesh() = default;

    // More circle segments than any sprite needs; larger counts from data are capped.
    static constexpr int kMaxDivisions = 4096;

    // The sprite's own copy of the mesh its component JSON names under "mesh": found
    // in the table by "name", or built and added. Null when there is no "mesh" or it
    // cannot be built (reported). JSON type errors propagate.
    static std::shared_ptr<Mesh> ForComponent(const json& component);

    // The table's mesh for a "mesh" object: "quadinstance" always builds a new one.
    // Null (and nothing added) when it cannot be built.
    static Mesh* LookupOrBuild(const json& meshJson);
    static Mesh* Find(const std::string& name);
    static const std::vector<std::unique_ptr<Mesh>>& Table();
    static void ClearTable();

    // Reads the descriptor keys of a "mesh" object, then builds the geometry. An unknown
    // type or a shape without vertices is reported with the file and JSON path: false.
    bool Read(const json& j);
    void Write(json& j) const;
    // Builds the GPU mesh for _type; false for an unknown type or no vertices.
    bool Build();

    std::unique_ptr<Mesh> Copy() const;

    const std::string& GetName() const { return _name; }
    const std::string& GetType() const { return _type; }
    LumMesh* GetGpu() const { return _gpu.get(); }
    // The table mesh's GPU mesh this one was copied from (itself for a table mesh): the
    // same vertices, which sprites without instances of their own draw in batches.
    LumMesh* GetSharedGpu() const { return _shared ? _shared.get() : _gpu.get(); }
    MeshShape GetShape() const { return {_halfSizeX, _halfSizeY, _u, _v, _divisions}; }

    static const FieldDescriptor<Mesh>& Descriptor();

    unsigned _rows = 1;
    unsigned _cols = 1;

private:
    std::string _name;
    std::string _type;
    float _halfSizeX = 0.0f;
    float _halfSizeY = 0.0f;
    float _u = 0.0f;
    float _v = 0.0f;
    int _divisions = 0;
    std::shared_ptr<LumMesh> _gpu;
    std::shared_ptr<LumMesh> _shared;
};
