#include "sessions/catalogue.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

namespace quarnel {

namespace {

// Only A-Z fold: umlauts keep their case, as they always have in the menus.
int CatalogueByte(std::string_view text, size_t i) {
    if (i >= text.size()) {
        return 0;
    }
    char c = text[i];
    if (c >= 'A' && c <= 'Z') {
        c = static_cast<char>(c - 'A' + 'a');
    }
    return static_cast<int8_t>(c);
}

void SortCatalogue(std::vector<std::string>& list) {
    std::sort(list.begin(), list.end(), CatalogueLess);
}

} // namespace

// Both texts are read as if padded with zero bytes without end, so an embedded zero
// byte and the end of a text are interchangeable and the order stays a strict weak one.
bool CatalogueLess(std::string_view a, std::string_view b) {
    const size_t n = std::max(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = CatalogueByte(a, i);
        const int cb = CatalogueByte(b, i);
        if (ca != cb) {
            return ca < cb;
        }
    }
    return false;
}

SessionCatalogue BuildCatalogue(const std::vector<std::pair<std::string, std::string>>& sessions) {
    SessionCatalogue catalogue;
    std::unordered_set<std::string> seenMenus;
    for (const auto& [name, menu] : sessions) {
        catalogue.allSessions.push_back(name);
        if (menu.empty()) {
            catalogue.unassignedSessions.push_back(name);
            continue;
        }
        if (seenMenus.insert(menu).second) {
            catalogue.menuNames.push_back(menu);
        }
        catalogue.assignedSessions.push_back(name);
        catalogue.menuOfSession[name] = menu;
    }
    SortCatalogue(catalogue.menuNames);
    SortCatalogue(catalogue.assignedSessions);
    SortCatalogue(catalogue.unassignedSessions);
    SortCatalogue(catalogue.allSessions);
    return catalogue;
}

} // namespace quarnel
