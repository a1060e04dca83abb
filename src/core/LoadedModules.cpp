#include "core/LoadedModules.h"

#ifdef GLOAMER_SANITIZE
#include <dlfcn.h>
#include <link.h>

#include <string>
#include <vector>
#endif

namespace LoadedModules
{
#ifdef GLOAMER_SANITIZE
namespace
{
int Collect(dl_phdr_info* info, std::size_t, void* names)
{
    // The main program has an empty name and is never unloaded anyway.
    if (info->dlpi_name && info->dlpi_name[0] != '\0')
        static_cast<std::vector<std::string>*>(names)->emplace_back(info->dlpi_name);
    return 0;
}
} // namespace

void KeepUntilExit()
{
    // Names first, pins after: the loader's list is not changed while it is walked.
    std::vector<std::string> names;
    dl_iterate_phdr(&Collect, &names);
    for (const std::string& name : names)
        dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
}
#else
void KeepUntilExit() {}
#endif
} // namespace LoadedModules
