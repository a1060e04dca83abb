#pragma once

#include <cstdint>
#include <memory>
#include <string>

class Blackboard;

// A node of a behaviour tree. Nodes keep no state between ticks: a Running action is
// simply ticked again next update, and composites restart from their first child.
class BTNode
{
public:
    enum Status : std::int32_t
    {
        Error = -2, // nothing to run: no child, a named entity missing, a placeholder leaf
        Running = -1,
        Failure = 0,
        Success = 1,
        Ignore = 2, // neutral result of queries and setters; composites pass over it
    };

    enum Kind : std::int32_t
    {
        Leaf = 0,
        Sequence = 1,
        Fallback = 2,
        Parallel = 3,
        Decorator = 4,
        Decorator_Invert = 5,
        Decorator_Repeat = 6,
    };

    enum Type : std::uint32_t
    {
        LeafType = 0,
        BranchType = 1,
    };

    explicit BTNode(Type type) : _type(type) {}
    virtual ~BTNode() = default;

    // A deep copy whose blackboard is null until the owning tree sets it.
    virtual std::unique_ptr<BTNode> Clone() const = 0;
    // Appends this node (and a branch's children, one level deeper) to the text.
    virtual void DebugDraw(std::string& out, int depth) const = 0;
    virtual Status Tick() = 0;

    // Branches pass the blackboard on to every descendant.
    virtual void SetBlackboard(Blackboard* blackboard) { _blackboard = blackboard; }
    Blackboard* GetBlackboard() const { return _blackboard; }

    Type GetType() const { return _type; }
    bool IsLeaf() const { return _type == LeafType; }

    // "Leaf", "Sequence", ... as the debug view prints them; "" past the table.
    static const char* KindName(std::int32_t kind);
    // Two spaces per level of depth, the indentation of the debug text.
    static void Indent(std::string& out, int depth);

protected:
    BTNode(const BTNode& other) : _type(other._type) {}
    BTNode& operator=(const BTNode&) = delete;

    Type _type;
    Blackboard* _blackboard = nullptr;
};
