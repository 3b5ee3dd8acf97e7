// A catalogue brought up to date from a fresh listing of PuTTY's sessions, reading again
// only what changed, and what the new catalogue changes. Window-free.
#pragma once

#include "sessions/catalogue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quarnel {

// One session as a listing of the sessions key found it.
struct ListedSession {
    std::string key;
    uint64_t writeTime = 0; // 0: not to be relied on, so the menu is read again next time
    // The menu value read with this listing; nothing when it was not read or could not be.
    std::optional<std::string> menu;
};

// Whether a listed session's menu value has to be read: `known` lacks the session, or
// its key was written since.
bool MenuNeedsReading(const SessionCatalogue& known, const std::string& key, uint64_t writeTime);

// The catalogue of a listing, in the registry's order: exactly what start-up builds from
// the same registry. A session whose menu was not read keeps the menu and write time
// `known` has of it (none when it has nothing); a key listed twice counts once.
SessionCatalogue CatalogueOfListing(const SessionCatalogue& known,
                                    const std::vector<ListedSession>& listed);

// What a new catalogue changes against the one before it.
struct CatalogueChange {
    std::vector<std::string> added;   // key names, catalogue order
    std::vector<std::string> removed; // key names, catalogue order
    // The menu names differ, or a session in both has another menu: the menus are laid
    // out again even when no session came or went.
    bool menusChanged = false;
    bool Any() const { return !added.empty() || !removed.empty() || menusChanged; }
};
CatalogueChange CompareCatalogues(const SessionCatalogue& before, const SessionCatalogue& after);

} // namespace quarnel
