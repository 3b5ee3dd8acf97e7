// Readable failure messages for laid-out menus.
#pragma once

#include "sessions/session_menu.h"

#include <ostream>

namespace quarnel {

inline void PrintTo(const MenuEntry& entry, std::ostream* out) {
    *out << entry.id << " \"" << entry.text << "\"";
}

inline void PrintTo(const MenuTitle& title, std::ostream* out) {
    *out << "\"" << title.text << "\" {";
    for (const MenuEntry& entry : title.entries) {
        *out << " ";
        PrintTo(entry, out);
    }
    *out << " }";
}

} // namespace quarnel
