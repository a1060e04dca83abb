#pragma once

#include "behaviors/bt/BTNode.h"
#include "behaviors/bt/LeafFunctions.h"

#include <glm/vec2.hpp>

#include <string>

// Runs one function with its two blackboard keys and extra text. T only picks the
// table the function index refers to (float or vec2); ticking is the same for both.
template <typename T> class BTLeaf : public BTNode
{
public:
    // A row of T's table; a row past the table gives a leaf without a function.
    BTLeaf(unsigned functionIndex, unsigned rE, unsigned wE, std::string ext);
    // A custom callable (function index 0).
    BTLeaf(LeafFunction function, unsigned rE, unsigned wE, std::string ext);

    std::unique_ptr<BTNode> Clone() const override;
    void DebugDraw(std::string& out, int depth) const override;
    // A leaf without a function throws std::bad_function_call: a programming error.
    Status Tick() override;

    unsigned GetFunctionIndex() const { return _functionIndex; }
    unsigned GetReadKey() const { return _rE; }
    unsigned GetWriteKey() const { return _wE; }
    const std::string& GetExt() const { return _ext; }

private:
    BTLeaf(const BTLeaf& other) = default;

    unsigned _rE;
    unsigned _wE;
    std::string _ext;
    LeafFunction _function;
    unsigned _functionIndex;
};

extern template class BTLeaf<float>;
extern template class BTLeaf<glm::vec2>;
