#include "sessions/catalogue_update.h"

#include <string_view>
#include <unordered_set>
#include <utility>

namespace quarnel {

namespace {

std::string_view MenuOf(const SessionCatalogue& catalogue, const std::string& key) {
    const auto found = catalogue.menuOfSession.find(key);
    return found == catalogue.menuOfSession.end() ? std::string_view() : found->second;
}

// The entries of `list` that `other` lacks, in the order of `list`.
std::vector<std::string> Missing(const std::vector<std::string>& list,
                                 const std::unordered_set<std::string>& other) {
    std::vector<std::string> missing;
    for (const std::string& key : list) {
        if (!other.count(key)) {
            missing.push_back(key);
        }
    }
    return missing;
}

} // namespace

bool MenuNeedsReading(const SessionCatalogue& known, const std::string& key, uint64_t writeTime) {
    const auto found = known.writeTimes.find(key);
    return found == known.writeTimes.end() || found->second != writeTime;
}

SessionCatalogue CatalogueOfListing(const SessionCatalogue& known,
                                    const std::vector<ListedSession>& listed) {
    std::vector<std::pair<std::string, std::string>> sessions;
    std::unordered_map<std::string, uint64_t> writeTimes;
    std::unordered_set<std::string> seen;
    for (const ListedSession& session : listed) {
        if (!seen.insert(session.key).second) {
            continue;
        }
        uint64_t writeTime = session.writeTime;
        std::string menu;
        if (session.menu) {
            menu = *session.menu;
        } else {
            menu = MenuOf(known, session.key);
            const auto knownTime = known.writeTimes.find(session.key);
            writeTime = knownTime == known.writeTimes.end() ? 0 : knownTime->second;
        }
        if (writeTime != 0) {
            writeTimes[session.key] = writeTime;
        }
        sessions.emplace_back(session.key, std::move(menu));
    }
    SessionCatalogue catalogue = BuildCatalogue(sessions);
    catalogue.writeTimes = std::move(writeTimes);
    return catalogue;
}

CatalogueChange CompareCatalogues(const SessionCatalogue& before, const SessionCatalogue& after) {
    const std::unordered_set<std::string> beforeKeys(before.allSessions.begin(),
                                                     before.allSessions.end());
    const std::unordered_set<std::string> afterKeys(after.allSessions.begin(),
                                                    after.allSessions.end());
    CatalogueChange change{Missing(after.allSessions, beforeKeys),
                           Missing(before.allSessions, afterKeys),
                           before.menuNames != after.menuNames};
    for (size_t i = 0; i < after.allSessions.size() && !change.menusChanged; ++i) {
        const std::string& key = after.allSessions[i];
        change.menusChanged = beforeKeys.count(key) && MenuOf(before, key) != MenuOf(after, key);
    }
    return change;
}

} // namespace quarnel
