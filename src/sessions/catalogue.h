// PuTTY's saved sessions, grouped by the menu name the user gave each of them. All but
// the readers in load_catalogue.cpp is window-free.
#pragma once

#include "registry/putty_keys.h"
#include "sessions/session_name.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quarnel {

struct SessionCatalogue {
    std::vector<std::string> allSessions;        // key names, catalogue order
    std::vector<std::string> menuNames;          // distinct non-empty menu names, catalogue order
    std::vector<std::string> assignedSessions;   // key names with a menu, catalogue order
    std::vector<std::string> unassignedSessions; // key names without a menu, catalogue order
    // The menu value of each assigned session as read at load, so that building the
    // menus never goes back to the registry.
    std::unordered_map<std::string, std::string> menuOfSession;
    // When each session's key was last written as it was listed (100-ns steps since 1601),
    // so that a later listing reads again only the menus of keys written since. A session
    // without one has its menu read again.
    std::unordered_map<std::string, uint64_t> writeTimes;
};

// Catalogue order: A-Z folded to a-z, then bytes compared as signed 8-bit numbers, the
// end of a text counting as 0. A strict weak ordering on any bytes.
bool CatalogueLess(std::string_view a, std::string_view b);

// The catalogue of the given sessions, each with its menu value (empty: none), in the
// order the registry enumerated them.
SessionCatalogue BuildCatalogue(const std::vector<std::pair<std::string, std::string>>& sessions);

// PuTTY's sessions as the registry lists them now, through one open of their key. The
// menu value is read only of the sessions `known` lacks or whose keys were written since;
// the others keep what `known` has. `whole` is false when sessions came or went while
// they were listed, so that one may be missing, or the listing was stopped.
// `stopping` is asked before each session whether to end there.
SessionCatalogue ReadSessionCatalogue(const SessionCatalogue& known, bool& whole,
                                      const std::function<bool()>& stopping = nullptr);

// Reads PuTTY's sessions and their menu values from the registry (once per session).
SessionCatalogue LoadSessionCatalogue();

} // namespace quarnel
