#include "behaviors/bt/BTLeaf.h"

#include "behaviors/bt/Blackboard.h"

#include <cstdio>
#include <stdexcept>

template <typename T>
BTLeaf<T>::BTLeaf(unsigned functionIndex, unsigned rE, unsigned wE, std::string ext)
    : BTNode(LeafType), _rE(rE), _wE(wE), _ext(std::move(ext)), _functionIndex(functionIndex)
{
    if (functionIndex < leaf::kRows)
        _function = leaf::TableFor<T>()[functionIndex]._function;
}

template <typename T>
BTLeaf<T>::BTLeaf(LeafFunction function, unsigned rE, unsigned wE, std::string ext)
    : BTNode(LeafType), _rE(rE), _wE(wE), _ext(std::move(ext)), _function(std::move(function)),
      _functionIndex(leaf::kCustom)
{
}

template <typename T> std::unique_ptr<BTNode> BTLeaf<T>::Clone() const
{
    return std::unique_ptr<BTNode>(new BTLeaf(*this));
}

template <typename T> BTNode::Status BTLeaf<T>::Tick()
{
    if (!_blackboard)
        throw std::logic_error("behaviour-tree leaf ticked outside a tree (no blackboard)");
    return _function(*_blackboard, _rE, _wE, _ext);
}

template <typename T> void BTLeaf<T>::DebugDraw(std::string& out, int depth) const
{
    const char* name = _functionIndex < leaf::kRows ? leaf::TableFor<T>()[_functionIndex]._name : "?";
    char line[64];
    Indent(out, depth);
    out += ">> F[";
    out += name;
    out += "]\n";
    Indent(out, depth);
    std::snprintf(line, sizeof(line), "   rE[%u]\n", _rE);
    out += line;
    Indent(out, depth);
    // With an extra argument the line carries a literal "Ext[&s]" tag; the text itself
    // stays out of the view.
    std::snprintf(line, sizeof(line), _ext.empty() ? "   wE[%u]\n" : "   wE[%u], Ext[&s]\n", _wE);
    out += line;
}

template class BTLeaf<float>;
template class BTLeaf<glm::vec2>;
