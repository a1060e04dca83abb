#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <vector>

// Per-instance vertex data of one sprite: a buffer per kind of data, described on
// whatever mesh array the caller has bound, with a divisor of 1. A copy starts empty
// (a cloned sprite draws once until it gets its own instances).
class LumInstance
{
public:
    static constexpr unsigned kMatrixTag = 9;
    static constexpr unsigned kColourTag = 6;
    static constexpr unsigned kMatrixLocation = 7; // and the next three, one column each
    static constexpr unsigned kColourLocation = 6;
    static constexpr unsigned kOffsetLocation = 3;      // position, in the mesh's units
    static constexpr unsigned kSheetOffsetLocation = 4; // added to the texture coordinate

    struct Buffer
    {
        unsigned stride = 0;
        unsigned tag = 0;
        unsigned name = 0;
    };

    struct Attribute
    {
        unsigned location = 0;
        int components = 0;
        unsigned offset = 0;
    };

    // At most four; a fixed list, so uploading every frame never touches the heap.
    struct AttributeList
    {
        Attribute items[4];
        unsigned count = 0;
        const Attribute* begin() const { return items; }
        const Attribute* end() const { return items + count; }
    };

    // The attributes a tag describes (a matrix takes four locations; any other tag is a
    // 2-float offset at that location).
    static AttributeList AttributesFor(unsigned tag);

    // What the instanced shader reads where nothing was uploaded: white, the identity
    // matrix and no offsets. These values belong to the context, so once after it is
    // made is enough.
    static void SetNeutralInputs();

    LumInstance() = default;
    ~LumInstance();
    LumInstance(const LumInstance&) {}
    LumInstance& operator=(const LumInstance&) = delete;

    // Bind the mesh's array first. Each fills its buffer with all instances; a GL
    // error stops the program.
    void UploadMatrices(const std::vector<glm::mat4>& matrices);
    void UploadColours(const std::vector<glm::vec4>& colours);
    void UploadOffsets(unsigned location, const std::vector<glm::vec2>& offsets);

    // When non-zero every draw of the sprite is instanced with this many instances.
    unsigned GetCount() const { return _count; }
    void SetCount(unsigned count) { _count = count; }
    const std::vector<Buffer>& Buffers() const { return _buffers; }

private:
    void Upload(unsigned tag, unsigned stride, const void* data, std::size_t bytes);

    unsigned _count = 0;
    std::vector<Buffer> _buffers;
};
