#include "render/LumMesh.h"

#include "core/FatalError.h"
#include "render/GlState.h"
#include "render/LumInstance.h"
#include "render/SpriteBatch.h"

#include <glad/gl.h>

#include <cstddef>

LumMesh::~LumMesh()
{
    Release();
}

void LumMesh::Release()
{
    if (!GlState::IsLive())
        return;
    for (unsigned array : {_fillArray, _outlineArray, _batchArray})
        if (array != 0)
        {
            GlState::ForgetVertexArray(array);
            glDeleteVertexArrays(1, &array);
        }
    for (unsigned buffer : {_vertexBuffer, _indexBuffer})
        if (buffer != 0)
            glDeleteBuffers(1, &buffer);
    _fillArray = _outlineArray = _batchArray = _vertexBuffer = _indexBuffer = 0;
}

void LumMesh::Begin()
{
    Release();
    _drawMode = Filled;
    if (!GlState::IsLive())
        return;
    _context = GlState::ContextGeneration();
    glGenBuffers(1, &_vertexBuffer);
    glGenBuffers(1, &_indexBuffer);
    glGenVertexArrays(1, &_fillArray);
    glGenVertexArrays(1, &_outlineArray);
}

void LumMesh::AddVertices(const std::vector<Vertex>& vertices)
{
    _vertices.insert(_vertices.end(), vertices.begin(), vertices.end());
}

void LumMesh::AddIndexPairs(const std::vector<IndexPair>& pairs)
{
    _indices.insert(_indices.end(), pairs.begin(), pairs.end());
}

void LumMesh::Finish()
{
    if (_vertices.empty())
        throw FatalError("Vertex array is empty!");

    _vertexCount += static_cast<std::uint32_t>(_vertices.size() - _uploadedVertices);
    _indexCount += static_cast<std::uint32_t>(_indices.size() - _uploadedPairs);
    _uploadedVertices = _vertices.size();
    _uploadedPairs = _indices.size();
    if (!GlState::IsLive() || _fillArray == 0)
        return;

    constexpr GLsizei stride = sizeof(Vertex);
    const auto* position = reinterpret_cast<const void*>(offsetof(Vertex, position));
    const auto* texCoord = reinterpret_cast<const void*>(offsetof(Vertex, texCoord));
    const auto* colour = reinterpret_cast<const void*>(offsetof(Vertex, colour));

    GlState::BindVertexArray(_fillArray);
    glBindBuffer(GL_ARRAY_BUFFER, _vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(_vertices.size() * sizeof(Vertex)), _vertices.data(),
                 GL_DYNAMIC_DRAW);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, position);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, texCoord);
    glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, stride, colour);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glEnableVertexAttribArray(2);

    GlState::BindVertexArray(_outlineArray);
    glBindBuffer(GL_ARRAY_BUFFER, _vertexBuffer);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, position);
    glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, stride, colour);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(2);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, _indexBuffer);
    if (!_indices.empty())
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(_indices.size() * sizeof(IndexPair)),
                     _indices.data(), GL_DYNAMIC_DRAW);

    GlState::BindVertexArray(0);
    // Wide lines are optional in a core context; ask for 2 where it is allowed so no
    // GL error is left pending for the next check.
    GLfloat widths[2] = {1.0f, 1.0f};
    glGetFloatv(GL_ALIASED_LINE_WIDTH_RANGE, widths);
    glLineWidth(widths[1] >= 2.0f ? 2.0f : widths[1]);
    glPointSize(10.0f);
    GlState::BindTexture(0);
}

std::unique_ptr<LumMesh> LumMesh::Copy() const
{
    auto copy = std::make_unique<LumMesh>();
    copy->Begin();
    copy->AddVertices(_vertices);
    copy->AddIndexPairs(_indices);
    copy->Finish();
    return copy;
}

bool LumMesh::IsCurrent() const
{
    return GlState::IsLive() && _vertexBuffer != 0 && _context == GlState::ContextGeneration();
}

unsigned LumMesh::GetBatchArray(unsigned instanceBuffer)
{
    if (_batchArray != 0 || !GlState::IsLive() || _vertexBuffer == 0)
        return _batchArray;
    constexpr GLsizei stride = sizeof(Vertex);
    glGenVertexArrays(1, &_batchArray);
    GlState::BindVertexArray(_batchArray);
    glBindBuffer(GL_ARRAY_BUFFER, _vertexBuffer);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(Vertex, position)));
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(Vertex, texCoord)));
    glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(Vertex, colour)));
    for (GLuint a = 0; a < 3; ++a)
        glEnableVertexAttribArray(a);

    using Instance = SpriteBatch::Instance;
    constexpr GLsizei instanceStride = sizeof(Instance);
    glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer);
    auto describe = [&](GLuint location, GLint components, std::size_t offset)
    {
        glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, instanceStride,
                              reinterpret_cast<const void*>(offset));
        glEnableVertexAttribArray(location);
        glVertexAttribDivisor(location, 1);
    };
    for (GLuint column = 0; column < 4; ++column)
        describe(LumInstance::kMatrixLocation + column, 4, offsetof(Instance, world) + column * sizeof(glm::vec4));
    describe(LumInstance::kColourLocation, 4, offsetof(Instance, tint));
    describe(LumInstance::kSheetOffsetLocation, 2, offsetof(Instance, sheetOffset));
    GlState::BindVertexArray(0);
    return _batchArray;
}
