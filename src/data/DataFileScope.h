#pragma once

#include <string>
#include <string_view>

// Names the data file being read while it is in scope, so a component that skips one
// bad value (rather than failing the whole object) can still say which file it was in.
class DataFileScope
{
public:
    // An empty name keeps the enclosing file (an entity read inside a level).
    explicit DataFileScope(std::string_view file);
    ~DataFileScope();

    DataFileScope(const DataFileScope&) = delete;
    DataFileScope& operator=(const DataFileScope&) = delete;

    // The innermost file being read, or "(entity)" outside any file.
    static std::string_view Current();

private:
    std::string _previous;
};
