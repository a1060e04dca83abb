#pragma once

#include "behaviors/bt/BTNode.h"
#include "behaviors/bt/LeafFunctions.h"

#include <string>

class BTBranch;

// A position in a tree, held by value: a node itself (index kSelf) or child slot
// `index` of a node. It walks and rewrites the tree; a position stays usable until
// the part of the tree it points into is replaced.
class BTAccessor
{
public:
    static constexpr unsigned kSelf = ~0u;
    static constexpr unsigned kInvalid = ~0u - 1u;

    BTAccessor() = default;
    BTAccessor(BTNode* node, unsigned index, BTBranch* parent, unsigned indexInParent)
        : _node(node), _index(index), _parent(parent), _indexInParent(indexInParent)
    {
    }

    bool IsValid() const { return _index != kInvalid && _node; }
    bool IsSelf() const { return IsValid() && _index == kSelf; }

    // Slot i below this position. On a leaf: the leaf itself. On a slot: grows the
    // node's children to reach that slot and gives slot i of the child there.
    BTAccessor Child(unsigned i) const;

    // Puts a new, childless branch at this position (replacing a node itself, or filling
    // a slot), destroying what was there with its subtree; gives the new node itself.
    // Kind 0 is no branch and fails an assertion. Placing below a leaf does nothing and
    // gives an invalid position.
    BTAccessor SetBranch(BTNode::Kind kind) const;
    // A float leaf running row `function` of the float table.
    BTAccessor SetLeaf(unsigned function, unsigned rE, unsigned wE, std::string ext = {}) const;
    // A float leaf running a custom callable (function index 0).
    BTAccessor SetLeaf(LeafFunction function, unsigned rE, unsigned wE, std::string ext = {}) const;
    // A vec2 leaf copying vec2[rE] into vec2[wE].
    BTAccessor SetVec2CopyLeaf(unsigned rE, unsigned wE, std::string ext = {}) const;

    // The node at this position: the node itself, or what fills the slot (may be null).
    BTNode* Get() const;

    BTNode* GetNode() const { return _node; }
    unsigned GetIndex() const { return _index; }
    BTBranch* GetParent() const { return _parent; }
    unsigned GetIndexInParent() const { return _indexInParent; }

private:
    BTAccessor Place(std::unique_ptr<BTNode> node) const;

    BTNode* _node = nullptr;
    unsigned _index = kInvalid;
    BTBranch* _parent = nullptr;
    unsigned _indexInParent = 0;
};
