#pragma once

#include "render/MeshGeometry.h"

#include <cstdint>
#include <memory>
#include <vector>

// The GPU side of a mesh: one vertex buffer seen through two vertex arrays (filled
// triangles with all three attributes; outlines with position and colour plus the
// index pairs), and the CPU copy of what was uploaded. Built with Begin, AddVertices,
// AddIndexPairs, Finish. Without a live GL context only the CPU copy is kept.
class LumMesh
{
public:
    enum DrawMode : std::uint8_t
    {
        Outline = 1,
        Filled = 2,
        Fan = 4, // this value or more
    };

    LumMesh() = default;
    ~LumMesh();

    LumMesh(const LumMesh&) = delete;
    LumMesh& operator=(const LumMesh&) = delete;

    void Begin();
    void AddVertices(const std::vector<Vertex>& vertices);
    void AddIndexPairs(const std::vector<IndexPair>& pairs);
    // Uploads what was added. An empty vertex list stops the program.
    void Finish();

    // A fresh GPU mesh holding the same vertices and index pairs (default draw mode).
    std::unique_ptr<LumMesh> Copy() const;

    unsigned GetFillArray() const { return _fillArray; }
    unsigned GetOutlineArray() const { return _outlineArray; }
    unsigned GetVertexBuffer() const { return _vertexBuffer; }
    unsigned GetIndexBuffer() const { return _indexBuffer; }
    std::uint32_t GetVertexCount() const { return _vertexCount; }
    std::uint32_t GetIndexCount() const { return _indexCount; }
    std::uint8_t GetDrawMode() const { return _drawMode; }
    void SetDrawMode(std::uint8_t mode) { _drawMode = mode; }

    // A vertex array of this mesh's vertices plus per-instance world matrix, colour and
    // sheet offset read from `instanceBuffer` (SpriteBatch's layout); made on first use.
    unsigned GetBatchArray(unsigned instanceBuffer);
    // Its buffers belong to the context that is live now.
    bool IsCurrent() const;

    const std::vector<Vertex>& Vertices() const { return _vertices; }
    const std::vector<IndexPair>& Indices() const { return _indices; }

private:
    void Release();

    unsigned _fillArray = 0;
    unsigned _outlineArray = 0;
    unsigned _batchArray = 0;
    unsigned _context = 0;
    unsigned _vertexBuffer = 0;
    unsigned _indexBuffer = 0;
    std::uint32_t _vertexCount = 0;
    std::uint32_t _indexCount = 0;
    std::uint8_t _drawMode = Filled;
    std::vector<Vertex> _vertices;
    std::vector<IndexPair> _indices;
    std::size_t _uploadedVertices = 0;
    std::size_t _uploadedPairs = 0;
};
