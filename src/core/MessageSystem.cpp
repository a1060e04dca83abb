#include "core/MessageSystem.h"

#include "core/Assert.h"

#include <algorithm>

MessageSystem& MessageSystem::Instance()
{
    static MessageSystem instance;
    return instance;
}

void MessageSystem::RemoveNamed(std::vector<Message>& list, const std::string& name)
{
    std::erase_if(list, [&](const Message& m) { return m._name == name; });
}

void MessageSystem::CheckSize() const
{
    GLOAMER_ASSERT(_current.size() < kMaxMessages, "messages container overflow: messages cannot exceed 100");
}

void MessageSystem::Send(Message message)
{
    std::vector<Message>& list = message._delay <= 0.0f ? _current : _delayed;
    RemoveNamed(list, message._name);
    list.push_back(std::move(message));
    CheckSize();
}

Message* MessageSystem::Get(const std::string& name, bool consume)
{
    for (Message& m : _current)
    {
        if (m._name != name)
            continue;
        if (consume && m._removeWhenRead)
            m._read = true;
        return &m;
    }
    return nullptr;
}

void MessageSystem::Update(float dt)
{
    std::erase_if(_current, [](const Message& m) { return m._read; });

    for (std::size_t i = 0; i < _delayed.size();)
    {
        Message& m = _delayed[i];
        m._delay -= dt;
        if (m._delay > 0.0f)
        {
            ++i;
            continue;
        }
        RemoveNamed(_current, m._name);
        _current.push_back(m);
        _delayed.erase(_delayed.begin() + static_cast<std::ptrdiff_t>(i));
        CheckSize();
    }
}

void MessageSystem::Clear()
{
    _current.clear();
    _delayed.clear();
}
