#include "sessions/session_menu.h"

#include <algorithm>
#include <cstddef>
#include <unordered_map>

namespace quarnel {

namespace {

void AddSessionItem(MenuTitle& title, std::vector<std::string>& items, const std::string& keyName) {
    const size_t made = items.size();
    if (made > static_cast<size_t>(kLastSessionItem - kFirstSessionItem)) {
        return;
    }
    title.entries.push_back(
        {kFirstSessionItem + static_cast<int>(made), MenuText(SessionDisplayName(keyName))});
    items.push_back(keyName);
}

} // namespace

std::string MenuText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '&') {
            out += "&&";
        } else {
            out += c == '\t' ? ' ' : c;
        }
    }
    return out;
}

SessionMenu LayoutSessionMenu(const SessionCatalogue& catalogue) {
    SessionMenu result;
    std::vector<MenuTitle>& layout = result.titles;
    layout.push_back({"DATEI     ",
                      {{kPuttySettingsItem, "Putty Einstellungen"},
                       {kConfigureItem, "Quarnel konfigurieren"},
                       {0, ""},
                       {kAboutItem, "Über dieses Tool"},
                       {0, ""},
                       {kQuitItem, "Beenden"}}});

    // One pass over the assigned sessions keeps start-up linear in sessions + menus;
    // each group keeps the catalogue order of assignedSessions.
    std::unordered_map<std::string_view, std::vector<const std::string*>> byMenu;
    for (const std::string& session : catalogue.assignedSessions) {
        const auto menu = catalogue.menuOfSession.find(session);
        if (menu != catalogue.menuOfSession.end()) {
            byMenu[menu->second].push_back(&session);
        }
    }
    for (const std::string& menuName : catalogue.menuNames) {
        MenuTitle& title = layout.emplace_back(MenuTitle{MenuText(menuName), {}});
        const auto group = byMenu.find(menuName);
        if (group != byMenu.end()) {
            for (const std::string* session : group->second) {
                AddSessionItem(title, result.menuItemSessions, *session);
            }
        }
    }

    MenuTitle& others = layout.emplace_back(MenuTitle{"WEITERE...", {}});
    for (const std::string& session : catalogue.unassignedSessions) {
        AddSessionItem(others, result.menuItemSessions, session);
    }
    layout = SplitLongMenus(std::move(layout));
    return result;
}

std::vector<MenuTitle> SplitLongMenus(std::vector<MenuTitle> layout) {
    std::vector<MenuTitle> split;
    split.reserve(layout.size());
    for (MenuTitle& title : layout) {
        if (title.entries.size() <= kMostItemsPerMenu) {
            split.push_back(std::move(title));
            continue;
        }
        for (size_t first = 0, part = 1; first < title.entries.size();
             first += kMostItemsPerMenu, ++part) {
            const size_t last = std::min(title.entries.size(), first + kMostItemsPerMenu);
            MenuTitle& piece = split.emplace_back(MenuTitle{
                part == 1 ? title.text : title.text + " (" + std::to_string(part) + ")", {}});
            piece.entries.assign(title.entries.begin() + static_cast<std::ptrdiff_t>(first),
                                 title.entries.begin() + static_cast<std::ptrdiff_t>(last));
        }
    }
    return split;
}

} // namespace quarnel
