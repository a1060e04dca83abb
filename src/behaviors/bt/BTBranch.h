#pragma once

#include "behaviors/bt/BTNode.h"

#include <vector>

// A composite or decorator: ticks its children in index order by the rule of its kind.
// An empty slot among the children has nothing to run, so it counts as Error.
class BTBranch : public BTNode
{
public:
    // Decorator_Repeat gives up after this many ticks of its child within one tick, so a
    // child that keeps failing cannot hang the game: the result is then Failure.
    static constexpr int kMaxRepeats = 100;

    // Kind 0 ("Leaf") is not a branch kind; the accessor refuses it.
    explicit BTBranch(Kind kind);

    std::unique_ptr<BTNode> Clone() const override;
    void DebugDraw(std::string& out, int depth) const override;
    Status Tick() override { return _tick(*this); }
    void SetBlackboard(Blackboard* blackboard) override;

    Kind GetKind() const { return _kind; }
    void SetKind(Kind kind);

    std::vector<std::unique_ptr<BTNode>>& Children() { return _children; }
    const std::vector<std::unique_ptr<BTNode>>& Children() const { return _children; }

private:
    using TickFunction = Status (*)(BTBranch& self);

    BTBranch(const BTBranch& other);

    Kind _kind;
    std::vector<std::unique_ptr<BTNode>> _children;
    TickFunction _tick;
};
