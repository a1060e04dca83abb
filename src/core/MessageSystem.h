#pragma once

#include "core/System.h"

#include <any>
#include <list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A posted message: a name, a payload whose meaning is the convention of that name,
// and whether reading it takes it down.
struct Message
{
    Message() = default;
    explicit Message(std::string name, std::vector<std::any> arguments = {}, float delay = 0.0f,
                     bool removeWhenRead = false)
        : _name(std::move(name)), _arguments(std::move(arguments)), _delay(delay), _removeWhenRead(removeWhenRead)
    {
    }

    // Payload value i as T, or null when it is missing or of another type.
    template <typename T> const T* Arg(std::size_t i) const
    {
        return i < _arguments.size() ? std::any_cast<T>(&_arguments[i]) : nullptr;
    }

    std::string _name;
    std::vector<std::any> _arguments;
    float _delay = 0.0f;
    bool _read = false;
    bool _removeWhenRead = false;
};

// The named-message board. One visible message per name; a newer post replaces the
// older. Messages consumed during a frame are taken down at the next Update, and
// delayed messages that come due become visible from then on.
// A message returned by Get stays readable, at the same address, through any number
// of later Sends and one Update; keep no pointer past the frame, copy instead.
class MessageSystem : public System
{
public:
    static constexpr std::size_t kMaxMessages = 100;

    MessageSystem() : System("MessageSystem") {}

    static MessageSystem& Instance();

    void Send(Message message);
    // Posts an undelayed message with an empty payload and returns it for the caller to
    // fill in place. Its storage, payload capacity included, is recycled from messages
    // taken down earlier, so a steady stream of posts allocates nothing.
    Message& Post(std::string_view name, bool removeWhenRead = false);
    Message* Get(const std::string& name, bool consume = false);
    void Update(float dt) override;

    void Clear();
    std::size_t CurrentCount() const;
    std::size_t DelayedCount() const { return _delayed.size(); }

private:
    struct Posted
    {
        Message _message;
        bool _replaced = false; // a newer post of the name is visible instead
    };

    void ReplaceCurrent(std::string_view name);
    void CheckSize() const;
    // A node for the current list: a spare one when there is one.
    Posted& AppendCurrent();

    // Lists, so a post or a take-down never moves a message someone is reading.
    std::list<Posted> _current;
    std::list<Message> _delayed;
    // Taken down at the latest Update; kept for reuse from the one after.
    std::list<Posted> _retired;
    std::list<Posted> _spare;
};
