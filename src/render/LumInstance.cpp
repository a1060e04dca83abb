#include "render/LumInstance.h"

#include "render/GlState.h"

#include <glad/gl.h>

#include <cstdint>

LumInstance::AttributeList LumInstance::AttributesFor(unsigned tag)
{
    if (tag == kMatrixTag)
        return {{{kMatrixLocation, 4, 0},
                 {kMatrixLocation + 1, 4, 16},
                 {kMatrixLocation + 2, 4, 32},
                 {kMatrixLocation + 3, 4, 48}},
                4};
    if (tag == kColourTag)
        return {{{kColourLocation, 4, 0}}, 1};
    return {{{tag, 2, 0}}, 1};
}

void LumInstance::SetNeutralInputs()
{
    if (!GlState::IsLive())
        return;
    glVertexAttrib4f(kColourLocation, 1.0f, 1.0f, 1.0f, 1.0f);
    for (unsigned column = 0; column < 4; ++column)
    {
        GLfloat values[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        values[column] = 1.0f;
        glVertexAttrib4fv(kMatrixLocation + column, values);
    }
    glVertexAttrib2f(kOffsetLocation, 0.0f, 0.0f);
    glVertexAttrib2f(kSheetOffsetLocation, 0.0f, 0.0f);
    GlState::CheckError("glVertexAttrib (neutral instance inputs)");
}

LumInstance::~LumInstance()
{
    if (!GlState::IsLive())
        return;
    for (const Buffer& buffer : _buffers)
        glDeleteBuffers(1, &buffer.name);
}

void LumInstance::UploadMatrices(const std::vector<glm::mat4>& matrices)
{
    Upload(kMatrixTag, sizeof(glm::mat4), matrices.data(), matrices.size() * sizeof(glm::mat4));
}

void LumInstance::UploadColours(const std::vector<glm::vec4>& colours)
{
    Upload(kColourTag, sizeof(glm::vec4), colours.data(), colours.size() * sizeof(glm::vec4));
}

void LumInstance::UploadOffsets(unsigned location, const std::vector<glm::vec2>& offsets)
{
    Upload(location, sizeof(glm::vec2), offsets.data(), offsets.size() * sizeof(glm::vec2));
}

void LumInstance::Upload(unsigned tag, unsigned stride, const void* data, std::size_t bytes)
{
    if (!GlState::IsLive())
        return;
    GlState::ClearErrors("an instance upload");

    Buffer* record = nullptr;
    for (Buffer& buffer : _buffers)
        if (buffer.tag == tag)
            record = &buffer;
    if (!record)
    {
        Buffer made{stride, tag, 0};
        glGenBuffers(1, &made.name);
        GlState::CheckError("glGenBuffers");
        _buffers.push_back(made);
        record = &_buffers.back();
    }

    glBindBuffer(GL_ARRAY_BUFFER, record->name);
    GlState::CheckError("glBindBuffer");
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), data, GL_DYNAMIC_DRAW);
    GlState::CheckError("glBufferData");
    for (const Attribute& a : AttributesFor(tag))
    {
        glEnableVertexAttribArray(a.location);
        GlState::CheckError("glEnableVertexAttribArray");
        glVertexAttribPointer(a.location, a.components, GL_FLOAT, GL_FALSE, static_cast<GLsizei>(stride),
                              reinterpret_cast<const void*>(static_cast<std::uintptr_t>(a.offset)));
        GlState::CheckError("glVertexAttribPointer");
        glVertexAttribDivisor(a.location, 1);
        GlState::CheckError("glVertexAttribDivisor");
    }
}
