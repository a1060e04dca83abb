#pragma once

#include "data/Component.h"
#include "data/FieldDescriptor.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

// A registered class: its type number and name, and how to make a fresh one.
template <typename Base> class TypeNodeBase
{
public:
    TypeNodeBase(unsigned type, std::string name) : _type(type), _name(std::move(name)) {}
    virtual ~TypeNodeBase() = default;
    virtual std::unique_ptr<Base> Create() const { return nullptr; }

    unsigned _type;
    std::string _name;
};

template <typename T, typename Base = Component> class TypeNode : public TypeNodeBase<Base>
{
public:
    using TypeNodeBase<Base>::TypeNodeBase;
    std::unique_ptr<Base> Create() const override { return std::make_unique<T>(); }
};

// Creates objects by the names data files use. Filled while static objects are
// constructed, read-only afterwards.
template <typename Base, typename TypeId, typename Key> class TypeData
{
public:
    using Node = TypeNodeBase<Base>;

    // Registers T under its normalised class name; a node already under that name,
    // or under that type number, is replaced.
    template <typename T> static void Register(TypeId type, std::string_view className)
    {
        auto node = std::make_unique<TypeNode<T, Base>>(static_cast<Key>(type), NormaliseKey(className));
        Node* raw = node.get();
        auto& names = Names();
        auto& types = ByType();
        if (auto old = names.find(raw->_name); old != names.end())
            std::erase_if(types, [&](const auto& entry) { return entry.second == old->second.get(); });
        types[raw->_type] = raw;
        names[raw->_name] = std::move(node);
    }

    static const Node* Find(std::string_view name)
    {
        auto& names = Names();
        auto it = names.find(std::string(name));
        return it == names.end() ? nullptr : it->second.get();
    }

    static const Node* FindType(Key type)
    {
        auto& types = ByType();
        auto it = types.find(type);
        return it == types.end() ? nullptr : it->second;
    }

    static std::size_t Count() { return Names().size(); }

private:
    static std::unordered_map<std::string, std::unique_ptr<Node>>& Names()
    {
        static std::unordered_map<std::string, std::unique_ptr<Node>> names;
        return names;
    }
    // Non-owning; a replaced name leaves the type map pointing at the newest node.
    static std::unordered_map<Key, Node*>& ByType()
    {
        static std::unordered_map<Key, Node*> types;
        return types;
    }
};

using ComponentRegistry = TypeData<Component, CType, unsigned>;

#define GLOAMER_CONCAT_INNER(a, b) a##b
#define GLOAMER_CONCAT(a, b) GLOAMER_CONCAT_INNER(a, b)

// Registers a component class under its lower-cased class name at static start-up.
#define GLOAMER_REGISTER_COMPONENT(Class, type)                                                                        \
    namespace                                                                                                          \
    {                                                                                                                  \
    const bool GLOAMER_CONCAT(s_registered_, Class) = []                                                               \
    {                                                                                                                  \
        ComponentRegistry::Register<Class>(type, #Class);                                                              \
        return true;                                                                                                   \
    }();                                                                                                               \
    }
