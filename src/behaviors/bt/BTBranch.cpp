#include "behaviors/bt/BTBranch.h"

namespace
{
using Status = BTNode::Status;

// A missing child is a slot the builder left empty: there is nothing to run there.
Status TickChild(const std::unique_ptr<BTNode>& child)
{
    return child ? child->Tick() : BTNode::Error;
}

Status TickSequence(BTBranch& self)
{
    for (const auto& child : self.Children())
    {
        const Status result = TickChild(child);
        if (result < BTNode::Success)
            return result;
    }
    return BTNode::Success;
}

Status TickFallback(BTBranch& self)
{
    for (const auto& child : self.Children())
    {
        const Status result = TickChild(child);
        if (result != BTNode::Failure && result != BTNode::Ignore)
            return result;
    }
    return BTNode::Failure;
}

Status TickParallel(BTBranch& self)
{
    bool anySuccess = false;
    bool anyRunning = false;
    for (const auto& child : self.Children())
    {
        const Status result = TickChild(child);
        if (result == BTNode::Error)
            return BTNode::Error;
        anySuccess = anySuccess || result == BTNode::Success;
        anyRunning = anyRunning || result == BTNode::Running;
    }
    if (anyRunning)
        return BTNode::Running;
    return anySuccess ? BTNode::Success : BTNode::Failure;
}

Status TickDecorator(BTBranch& self)
{
    return self.Children().empty() ? BTNode::Error : TickChild(self.Children()[0]);
}

Status TickInvert(BTBranch& self)
{
    const Status result = TickDecorator(self);
    if (result == BTNode::Failure)
        return BTNode::Success;
    if (result == BTNode::Success)
        return BTNode::Failure;
    return result;
}

Status TickRepeat(BTBranch& self)
{
    if (self.Children().empty())
        return BTNode::Error;
    for (int i = 0; i < BTBranch::kMaxRepeats; ++i)
    {
        const Status result = TickChild(self.Children()[0]);
        if (result != BTNode::Failure && result != BTNode::Ignore)
            return result;
    }
    return BTNode::Failure;
}

Status TickNothing(BTBranch&)
{
    return BTNode::Error;
}
} // namespace

BTBranch::BTBranch(Kind kind) : BTNode(BranchType), _kind(kind), _tick(&TickNothing)
{
    SetKind(kind);
}

BTBranch::BTBranch(const BTBranch& other) : BTNode(other), _kind(other._kind), _tick(other._tick)
{
    _children.reserve(other._children.size());
    for (const auto& child : other._children)
        _children.push_back(child ? child->Clone() : nullptr);
}

std::unique_ptr<BTNode> BTBranch::Clone() const
{
    return std::unique_ptr<BTNode>(new BTBranch(*this));
}

void BTBranch::SetKind(Kind kind)
{
    _kind = kind;
    switch (kind)
    {
    case Sequence:
        _tick = &TickSequence;
        break;
    case Fallback:
        _tick = &TickFallback;
        break;
    case Parallel:
        _tick = &TickParallel;
        break;
    case Decorator:
        _tick = &TickDecorator;
        break;
    case Decorator_Invert:
        _tick = &TickInvert;
        break;
    case Decorator_Repeat:
        _tick = &TickRepeat;
        break;
    default:
        _tick = &TickNothing;
        break;
    }
}

void BTBranch::SetBlackboard(Blackboard* blackboard)
{
    BTNode::SetBlackboard(blackboard);
    for (const auto& child : _children)
        if (child)
            child->SetBlackboard(blackboard);
}

void BTBranch::DebugDraw(std::string& out, int depth) const
{
    Indent(out, depth);
    out += KindName(_kind);
    out += '\n';
    for (const auto& child : _children)
        if (child)
            child->DebugDraw(out, depth + 1);
}
