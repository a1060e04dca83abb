#include "scene/SceneTable.h"

#include "scene/SandboxScenes.h"

namespace
{
template <typename T> std::unique_ptr<Scene> Make()
{
    return std::make_unique<T>();
}

struct TableEntry
{
    const char* requested;
    std::unique_ptr<Scene> (*create)();
};

constexpr TableEntry kTable[] = {
    {"Alder", &Make<AlderScene>}, {"Birch", &Make<BirchScene>},   {"Cedar", &Make<CedarScene>},
    {"Maple", &Make<MapleScene>}, {"Spruce", &Make<SpruceScene>}, {"Game", &Make<GameScene>},
    {"Larch", &Make<LarchScene>},
};

const TableEntry* Find(const std::string& requested)
{
    for (const TableEntry& entry : kTable)
        if (requested == entry.requested)
            return &entry;
    return nullptr;
}
} // namespace

std::unique_ptr<Scene> CreateScene(const std::string& requested)
{
    const TableEntry* entry = Find(requested);
    return entry ? entry->create() : std::make_unique<Scene>(requested);
}

bool IsSandboxScene(const std::string& requested)
{
    return Find(requested) != nullptr;
}
