#include "behaviors/bt/BehaviorTree.h"

#include "behaviors/bt/BTBranch.h"

#include <algorithm>

namespace
{
std::unique_ptr<BTNode> MakeRoot(BTNode::Kind childKind, Blackboard* blackboard)
{
    auto root = std::make_unique<BTBranch>(BTNode::Decorator);
    root->Children().push_back(std::make_unique<BTBranch>(childKind));
    root->SetBlackboard(blackboard);
    return root;
}
} // namespace

BehaviorTree::BehaviorTree(Behavior* owner, Entity* entity) : _blackboard(std::make_unique<Blackboard>())
{
    _blackboard->_tree = this;
    Bind(owner, entity);
    _roots.push_back(MakeRoot(BTNode::Sequence, _blackboard.get()));
}

BehaviorTree::~BehaviorTree() = default;

BehaviorTree::BehaviorTree(const BehaviorTree& other) : _blackboard(std::make_unique<Blackboard>())
{
    CopyFrom(other);
}

BehaviorTree& BehaviorTree::operator=(const BehaviorTree& other)
{
    if (this != &other)
    {
        _roots.clear();
        _blackboard = std::make_unique<Blackboard>();
        CopyFrom(other);
    }
    return *this;
}

void BehaviorTree::CopyFrom(const BehaviorTree& other)
{
    _blackboard->_tree = this;
    _blackboard->_dt = other._blackboard->_dt;
    _blackboard->_values = other._blackboard->_values;
    Bind(nullptr, nullptr);
    _roots.reserve(other._roots.size());
    for (const auto& root : other._roots)
    {
        std::unique_ptr<BTNode> copy = root ? root->Clone() : nullptr;
        if (copy)
            copy->SetBlackboard(_blackboard.get());
        _roots.push_back(std::move(copy));
    }
}

void BehaviorTree::Bind(Behavior* owner, Entity* entity)
{
    _owner = owner;
    _blackboard->Bind(owner, entity);
}

BTAccessor BehaviorTree::Root(std::size_t i)
{
    if (_roots.size() <= i)
        _roots.resize(i + 1);
    if (!_roots[i])
        _roots[i] = MakeRoot(BTNode::Fallback, _blackboard.get());
    auto* root = static_cast<BTBranch*>(_roots[i].get());
    if (root->Children().empty() || !root->Children()[0])
    {
        root->Children().resize(std::max<std::size_t>(root->Children().size(), 1));
        root->Children()[0] = std::make_unique<BTBranch>(BTNode::Fallback);
        root->Children()[0]->SetBlackboard(_blackboard.get());
    }
    return {root->Children()[0].get(), BTAccessor::kSelf, root, 0};
}

BTNode::Status BehaviorTree::Tick(std::size_t i)
{
    if (i >= _roots.size() || !_roots[i])
        return BTNode::Error;
    return _roots[i]->Tick();
}

std::string BehaviorTree::DebugText(std::size_t i) const
{
    std::string out;
    if (i < _roots.size() && _roots[i])
        _roots[i]->DebugDraw(out, 0);
    return out;
}
