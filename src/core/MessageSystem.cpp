#include "core/MessageSystem.h"

#include "core/Assert.h"

#include <algorithm>

MessageSystem& MessageSystem::Instance()
{
    static MessageSystem instance;
    return instance;
}

std::size_t MessageSystem::CurrentCount() const
{
    return static_cast<std::size_t>(
        std::count_if(_current.begin(), _current.end(), [](const Posted& p) { return !p._replaced; }));
}

void MessageSystem::CheckSize() const
{
    GLOAMER_ASSERT(CurrentCount() < kMaxMessages, "messages container overflow: messages cannot exceed 100");
}

void MessageSystem::ReplaceCurrent(const std::string& name)
{
    for (Posted& posted : _current)
        if (posted._message._name == name)
            posted._replaced = true;
}

void MessageSystem::Send(Message message)
{
    if (message._delay <= 0.0f)
    {
        ReplaceCurrent(message._name);
        _current.push_back({std::move(message)});
    }
    else
    {
        // Nobody can hold a pointer to a delayed message, so it goes at once.
        _delayed.remove_if([&](const Message& m) { return m._name == message._name; });
        _delayed.push_back(std::move(message));
    }
    CheckSize();
}

Message* MessageSystem::Get(const std::string& name, bool consume)
{
    for (Posted& posted : _current)
    {
        Message& m = posted._message;
        if (posted._replaced || m._name != name)
            continue;
        if (consume && m._removeWhenRead)
            m._read = true;
        return &m;
    }
    return nullptr;
}

void MessageSystem::Update(float dt)
{
    _retired.clear();
    for (auto it = _current.begin(); it != _current.end();)
    {
        auto next = std::next(it);
        if (it->_replaced || it->_message._read)
            _retired.splice(_retired.end(), _current, it);
        it = next;
    }

    for (auto it = _delayed.begin(); it != _delayed.end();)
    {
        auto next = std::next(it);
        it->_delay -= dt;
        if (it->_delay <= 0.0f)
        {
            for (auto old = _current.begin(); old != _current.end();)
            {
                auto following = std::next(old);
                if (old->_message._name == it->_name)
                    _retired.splice(_retired.end(), _current, old);
                old = following;
            }
            _current.push_back({std::move(*it)});
            _delayed.erase(it);
            CheckSize();
        }
        it = next;
    }
}

void MessageSystem::Clear()
{
    _current.clear();
    _delayed.clear();
    _retired.clear();
}
