// Laid-out menus as text: each title on a line, then its items indented by two blanks,
// "text [number]" or "---" for a separator.
#pragma once

#include "sessions/session_menu.h"

#include <string>
#include <vector>

namespace quarnel {

// The fixed first menu, in the form of Dump.
inline const std::string kFileMenu =
    "DATEI     \n  Putty Einstellungen [901]\n"
    "  Quarnel konfigurieren [910]\n  ---\n  Über dieses Tool [980]\n"
    "  ---\n  Beenden [990]\n";

inline std::string Dump(const std::vector<MenuTitle>& layout) {
    std::string out;
    for (const MenuTitle& title : layout) {
        out += title.text + "\n";
        for (const MenuEntry& entry : title.entries) {
            out += entry.id == 0 ? "  ---\n"
                                 : "  " + entry.text + " [" + std::to_string(entry.id) + "]\n";
        }
    }
    return out;
}

} // namespace quarnel
