#include "sessions/catalogue.h"

#include "registry/registry.h"
#include "sessions/catalogue_update.h"

#include <windows.h>

#include <utility>

namespace quarnel {

namespace {

uint64_t Now() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

} // namespace

SessionCatalogue ReadSessionCatalogue(const SessionCatalogue& known, bool& whole,
                                      const std::function<bool()>& stopping) {
    const uint64_t listingStarts = Now();
    RegistryListing listing = RegistryListSubKeys(
        SessionsKey, MenuValueName,
        [&known, &stopping](const std::string& key, uint64_t writeTime) {
            if (stopping && stopping()) {
                return RegistrySubKeyStep::End;
            }
            return MenuNeedsReading(known, key, writeTime) ? RegistrySubKeyStep::ReadValue
                                                           : RegistrySubKeyStep::List;
        },
        ".");
    std::vector<ListedSession> sessions;
    sessions.reserve(listing.subKeys.size());
    for (RegistrySubKey& sub : listing.subKeys) {
        // Where the registry stamps write times only with each tick of the system clock, a write
        // in the tick the listing starts in could keep the time of one listed before it. A time
        // from before the listing began cannot be kept so, and only such a time is relied on.
        const uint64_t writeTime = sub.writeTime < listingStarts ? sub.writeTime : 0;
        sessions.push_back({std::move(sub.name), writeTime, std::move(sub.value)});
    }
    whole = listing.whole;
    return CatalogueOfListing(known, sessions);
}

SessionCatalogue LoadSessionCatalogue() {
    bool whole = true;
    return ReadSessionCatalogue(SessionCatalogue(), whole);
}

} // namespace quarnel
