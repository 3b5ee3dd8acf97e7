#include "sessions/catalogue.h"

#include "registry/registry.h"

#include <utility>

namespace quarnel {

SessionCatalogue LoadSessionCatalogue() {
    std::vector<std::pair<std::string, std::string>> sessions;
    for (RegistrySubKeyValue& listed :
         RegistryListSubKeysWithValue(SessionsKey, MenuValueName, ".")) {
        sessions.emplace_back(std::move(listed.name), std::move(listed.value));
    }
    return BuildCatalogue(sessions);
}

} // namespace quarnel
