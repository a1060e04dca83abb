#pragma once

#include <stdexcept>
#include <string>

// An error the game cannot run past (no shader table, a shader that does not compile,
// a default program that does not link). The main loop reports it, ends every system
// it started and returns 1; nothing else catches it.
class FatalError : public std::runtime_error
{
public:
    explicit FatalError(const std::string& message) : std::runtime_error(message) {}
};
