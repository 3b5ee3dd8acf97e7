// PuTTY's saved sessions, grouped by the menu name the user gave each of them. All but
// LoadSessionCatalogue (load_catalogue.cpp) is window-free.
#pragma once

#include "registry/putty_keys.h"
#include "sessions/session_name.h"

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
};

// Catalogue order: A-Z folded to a-z, then bytes compared as signed 8-bit numbers, the
// end of a text counting as 0. A strict weak ordering on any bytes.
bool CatalogueLess(std::string_view a, std::string_view b);

// The catalogue of the given sessions, each with its menu value (empty: none), in the
// order the registry enumerated them.
SessionCatalogue BuildCatalogue(const std::vector<std::pair<std::string, std::string>>& sessions);

// Reads PuTTY's sessions and their menu values from the registry (once per session).
SessionCatalogue LoadSessionCatalogue();

} // namespace quarnel
