#pragma once

#include "render/LumShader.h"

#include <array>

// A compute-only program plus the three buffer objects its dispatches would use.
class LumComputeShader : public LumShader
{
public:
    explicit LumComputeShader(const std::string& computeFile);
    ~LumComputeShader() override;

    const std::array<unsigned, 3>& GetBuffers() const { return _buffers; }

private:
    std::array<unsigned, 3> _buffers{};
};
