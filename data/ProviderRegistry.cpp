#include "ProviderRegistry.h"

#include <cctype>
#include <stdexcept>
#include <strings.h>

namespace {

using TOpener = std::unique_ptr<TProviderConnection> (*)(const TInitProperties&);

struct TProviderEntry { const char* name; TOpener open; };

const TProviderEntry Providers[] = {
    {"SQLite", OpenSqliteConnection},
    {"MSDASQL", OpenOdbcConnection},
};

// "MSDASQL.1" -> "MSDASQL"
std::string WithoutVersion(std::string name)
{
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot + 1 < name.size() &&
        name.find_first_not_of("0123456789", dot + 1) == std::string::npos)
        name.erase(dot);
    return name;
}

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t");
    size_t e = s.find_last_not_of(" \t");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

} // namespace

std::vector<std::string> TProviderRegistry::Available()
{
    std::vector<std::string> names;
    for (const TProviderEntry& entry : Providers)
        names.push_back(entry.name);
    return names;
}

std::unique_ptr<TProviderConnection> TProviderRegistry::Open(const TInitProperties& props, const std::string& defaultProvider)
{
    const std::string requested = props.Has("Provider") ? Trim(props.Get("Provider")) : defaultProvider;
    const std::string name = WithoutVersion(requested);
    for (const TProviderEntry& entry : Providers)
        if (strcasecmp(entry.name, name.c_str()) == 0)
            return entry.open(props);
    std::string list;
    for (const std::string& available : Available())
        list += (list.empty() ? "" : ", ") + available;
    throw std::runtime_error("Provider \"" + requested + "\" is not available; the providers available are " + list);
}
