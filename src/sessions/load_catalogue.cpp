#include "sessions/catalogue.h"

#include "registry/registry.h"

#include <utility>

namespace quarnel {

SessionCatalogue LoadSessionCatalogue() {
    std::vector<std::string> names;
    for (int index = 0;; ++index) {
        std::string name = RegistryListSubKey(SessionsKey, index, ".");
        if (name.empty()) {
            break;
        }
        names.push_back(std::move(name));
    }
    std::vector<std::pair<std::string, std::string>> sessions;
    sessions.reserve(names.size());
    for (std::string& name : names) {
        std::string menu = RegistryRead(SessionsKey + name, MenuValueName, ".");
        sessions.emplace_back(std::move(name), std::move(menu));
    }
    return BuildCatalogue(sessions);
}

} // namespace quarnel
