#pragma once

#include "behaviors/bt/BTAccessor.h"
#include "behaviors/bt/BTNode.h"
#include "behaviors/bt/Blackboard.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class Behavior;
class Entity;

// Independent roots over one blackboard, built in code through accessors. The owner
// writes the frame time into the blackboard and ticks one root per update.
class BehaviorTree
{
public:
    // One root: a Decorator over an empty Sequence.
    explicit BehaviorTree(Behavior* owner = nullptr, Entity* entity = nullptr);
    ~BehaviorTree();

    // Every blackboard entry and every root, deep; the copy is bound to no owner until
    // its new owner binds it.
    BehaviorTree(const BehaviorTree& other);
    BehaviorTree& operator=(const BehaviorTree& other);

    // Points the tree and its blackboard at the owning behaviour and its entity.
    void Bind(Behavior* owner, Entity* entity);

    // Grows the roots to hold index i, filling an empty root i with a Decorator over a
    // Fallback; gives child 0 of root i itself. Roots skipped over stay empty.
    BTAccessor Root(std::size_t i);
    // Error for a root that does not exist.
    BTNode::Status Tick(std::size_t i);
    // Root i as the debug view shows it; "" for a root that does not exist.
    std::string DebugText(std::size_t i) const;

    Blackboard& GetBlackboard() { return *_blackboard; }
    const Blackboard& GetBlackboard() const { return *_blackboard; }
    Behavior* GetOwner() const { return _owner; }
    const std::vector<std::unique_ptr<BTNode>>& Roots() const { return _roots; }

private:
    void CopyFrom(const BehaviorTree& other);

    std::vector<std::unique_ptr<BTNode>> _roots;
    std::unique_ptr<Blackboard> _blackboard;
    Behavior* _owner = nullptr;
};
