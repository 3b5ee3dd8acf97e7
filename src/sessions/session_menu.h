// The content of the menu bar and of the tray popup, which are the same. Window-free;
// build_session_menu.h turns it into Win32 menus.
#pragma once

#include "sessions/catalogue.h"

#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

// Fixed item numbers; session items are kFirstSessionItem + k.
enum MenuItemId : int {
    kReturnShortcut = 111,      // not an item: the Return key of the main window
    kQuickSearchShortcut = 112, // not an item: the quick search's hotkey and Strg+F
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

// The highest session item: menu commands carry 16-bit numbers, and one past it would
// wrap onto the fixed items. Sessions beyond it are in neither menu.
inline constexpr int kLastSessionItem = 65535;

// A menu that holds more items than this takes time growing with the square of its items
// to build, so a longer one is continued under the same title with " (2)", " (3)", ...;
// the items keep their numbers and order.
inline constexpr size_t kMostItemsPerMenu = 4000;
std::vector<MenuTitle> SplitLongMenus(std::vector<MenuTitle> layout);

// A text as a menu shows it unchanged: "&" would mark a shortcut key, a tab would
// split the item.
std::string MenuText(std::string_view text);

// The titles and items of both menus, and the key name behind each session item: the
// item kFirstSessionItem + k stands for menuItemSessions[k] for as long as these menus
// are shown.
struct SessionMenu {
    std::vector<MenuTitle> titles;
    std::vector<std::string> menuItemSessions;
};
SessionMenu LayoutSessionMenu(const SessionCatalogue& catalogue);

} // namespace quarnel
