#include "sessions/session_menu.h"

#include <unordered_map>

namespace quarnel {

namespace {

void AddSessionItem(MenuTitle& title, SessionCatalogue& catalogue, const std::string& keyName) {
    const int id = kFirstSessionItem + static_cast<int>(catalogue.menuItemSessions.size());
    title.entries.push_back({id, SessionDisplayName(keyName)});
    catalogue.menuItemSessions.push_back(keyName);
}

} // namespace

std::vector<MenuTitle> LayoutSessionMenu(SessionCatalogue& catalogue) {
    std::vector<MenuTitle> layout;
    layout.push_back({"DATEI     ",
                      {{kPuttySettingsItem, "Putty Einstellungen"},
                       {kConfigureItem, "Quarnel konfigurieren"},
                       {0, ""},
                       {kAboutItem, "Über dieses Tool"},
                       {0, ""},
                       {kQuitItem, "Beenden"}}});
    catalogue.menuItemSessions.clear();

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
        MenuTitle& title = layout.emplace_back(MenuTitle{menuName, {}});
        const auto group = byMenu.find(menuName);
        if (group != byMenu.end()) {
            for (const std::string* session : group->second) {
                AddSessionItem(title, catalogue, *session);
            }
        }
    }

    MenuTitle& others = layout.emplace_back(MenuTitle{"WEITERE...", {}});
    for (const std::string& session : catalogue.unassignedSessions) {
        AddSessionItem(others, catalogue, session);
    }
    return layout;
}

} // namespace quarnel
