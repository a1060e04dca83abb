#include "core/Cheats.h"

namespace
{
Cheats::Query g_query = nullptr;
}

namespace Cheats
{
void SetQuery(Query query)
{
    g_query = query;
}

bool IsTriggered(std::string_view name)
{
    return g_query != nullptr && g_query(name);
}
} // namespace Cheats
