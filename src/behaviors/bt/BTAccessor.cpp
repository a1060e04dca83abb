#include "behaviors/bt/BTAccessor.h"

#include "behaviors/bt/BTBranch.h"
#include "behaviors/bt/BTLeaf.h"
#include "core/Assert.h"

namespace
{
std::unique_ptr<BTNode>& SlotOf(BTBranch& branch, unsigned index)
{
    auto& children = branch.Children();
    if (children.size() <= index)
        children.resize(static_cast<std::size_t>(index) + 1);
    return children[index];
}
} // namespace

BTNode* BTAccessor::Get() const
{
    if (!IsValid())
        return nullptr;
    if (_index == kSelf)
        return _node;
    if (_node->IsLeaf())
        return nullptr;
    const auto& children = static_cast<BTBranch*>(_node)->Children();
    return _index < children.size() ? children[_index].get() : nullptr;
}

BTAccessor BTAccessor::Child(unsigned i) const
{
    if (!IsValid())
        return {};
    if (_node->IsLeaf())
        return {_node, kSelf, _parent, _indexInParent};
    if (_index == kSelf)
        return {_node, i, _parent, _indexInParent};
    auto* branch = static_cast<BTBranch*>(_node);
    BTNode* child = SlotOf(*branch, _index).get();
    if (!child)
        return {};
    return {child, i, branch, _index};
}

BTAccessor BTAccessor::Place(std::unique_ptr<BTNode> node) const
{
    if (!IsValid())
        return {};
    BTBranch* parent = nullptr;
    unsigned slot = 0;
    if (_index == kSelf)
    {
        // A root has no parent slot to be replaced in.
        if (!_parent)
            return {};
        parent = _parent;
        slot = _indexInParent;
    }
    else
    {
        if (_node->IsLeaf())
            return {};
        parent = static_cast<BTBranch*>(_node);
        slot = _index;
    }
    node->SetBlackboard(parent->GetBlackboard());
    std::unique_ptr<BTNode>& target = SlotOf(*parent, slot);
    target = std::move(node);
    return {target.get(), kSelf, parent, slot};
}

BTAccessor BTAccessor::SetBranch(BTNode::Kind kind) const
{
    GLOAMER_ASSERT(kind != BTNode::Leaf, "rhs != BTNode::Leaf");
    return Place(std::make_unique<BTBranch>(kind));
}

BTAccessor BTAccessor::SetLeaf(unsigned function, unsigned rE, unsigned wE, std::string ext) const
{
    return Place(std::make_unique<BTLeaf<float>>(function, rE, wE, std::move(ext)));
}

BTAccessor BTAccessor::SetLeaf(LeafFunction function, unsigned rE, unsigned wE, std::string ext) const
{
    return Place(std::make_unique<BTLeaf<float>>(std::move(function), rE, wE, std::move(ext)));
}

BTAccessor BTAccessor::SetVec2CopyLeaf(unsigned rE, unsigned wE, std::string ext) const
{
    return Place(std::make_unique<BTLeaf<glm::vec2>>(leaf::kCopy, rE, wE, std::move(ext)));
}
