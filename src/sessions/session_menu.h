// The content of the menu bar and of the tray popup, which are the same.
#pragma once

#include "sessions/catalogue.h"

#include <windows.h>

#include <string>
#include <vector>

namespace quarnel {

// Fixed item numbers; session items are kFirstSessionItem + k.
enum MenuItemId : int {
    kReturnShortcut = 111, // not an item: the Return key of the main window
    kPuttySettingsItem = 901,
    kConfigureItem = 910,
    kAboutItem = 980,
    kQuitItem = 990,
    kFirstSessionItem = 1000,
};

struct MenuEntry {
    int id = 0; // 0: a separator
    std::string text;
    bool operator==(const MenuEntry&) const = default;
};

struct MenuTitle {
    std::string text;
    std::vector<MenuEntry> entries;
    bool operator==(const MenuTitle&) const = default;
};

// Lays out the titles and items from the catalogue and fills its menuItemSessions.
std::vector<MenuTitle> LayoutSessionMenu(SessionCatalogue& catalogue);

// Appends the laid-out titles to a menu: drop-down menus of a menu bar, or cascading
// submenus of a popup menu.
void BuildSessionMenu(HMENU menu, const std::vector<MenuTitle>& layout);

} // namespace quarnel
