#include "data/DataFileScope.h"

namespace
{
std::string s_current;
}

DataFileScope::DataFileScope(std::string_view file) : _previous(s_current)
{
    if (!file.empty())
        s_current = file;
}

DataFileScope::~DataFileScope()
{
    s_current = std::move(_previous);
}

std::string_view DataFileScope::Current()
{
    return s_current.empty() ? std::string_view("(entity)") : std::string_view(s_current);
}
