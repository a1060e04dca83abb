#pragma once

#include <stdexcept>
#include <string>

// An error the game cannot run past (no shader table, a shader that does not compile,
// data naming a shader or mesh type that does not exist). The entry point reports it
// and exits with status 1; nothing else catches it.
class FatalError : public std::runtime_error
{
public:
    explicit FatalError(const std::string& message) : std::runtime_error(message) {}
};
