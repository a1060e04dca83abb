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

void MessageSystem::ReplaceCurrent(std::string_view name)
{
    for (Posted& posted : _current)
        if (posted._message._name == name)
            posted._replaced = true;
}

MessageSystem::Posted& MessageSystem::AppendCurrent()
{
    if (_spare.empty())
        _current.emplace_back();
    else
        _current.splice(_current.end(), _spare, _spare.begin());
    Posted& posted = _current.back();
    posted._replaced = false;
    return posted;
}

Message& MessageSystem::Post(std::string_view name, bool removeWhenRead)
{
    ReplaceCurrent(name);
    Message& m = AppendCurrent()._message;
    m._name.assign(name);
    m._arguments.clear();
    m._delay = 0.0f;
    m._read = false;
    m._removeWhenRead = removeWhenRead;
    CheckSize();
    return m;
}

void MessageSystem::Send(Message message)
{
    if (message._delay <= 0.0f)
    {
        ReplaceCurrent(message._name);
        AppendCurrent()._message = std::move(message);
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
    // Nobody can hold these any more; a few are kept to post into again.
    _spare.splice(_spare.end(), _retired);
    while (_spare.size() > kMaxMessages)
        _spare.pop_back();
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
    _spare.clear();
}
