#pragma once
// Picks the provider named by a data link's Provider key and opens it.

#include "ProviderApi.h"

#include <memory>
#include <string>
#include <vector>

class TProviderRegistry {
public:
    // The provider names we have, as they are listed in messages.
    static std::vector<std::string> Available();
    // Opens the provider named by the Provider key, or `defaultProvider` when
    // the key is absent. The name is compared without regard to case and a
    // version suffix (".1") is ignored.
    static std::unique_ptr<TProviderConnection> Open(const TInitProperties& props, const std::string& defaultProvider);
};
