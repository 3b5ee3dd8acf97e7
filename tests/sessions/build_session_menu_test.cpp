// The real Win32 menus built from a layout, and a layout that leaves the registry alone.
#include "sessions/build_session_menu.h"
#include "menu_print.h"

#include "registry/registry.h"
#include "win/handles.h"
#include "win/text.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(LayoutSessionMenu, RepeatsIdenticallyAndNeverTouchesTheRegistry) {
    std::vector<std::pair<std::string, std::string>> sessions;
    for (int i = 0; i < 3000; ++i) {
        sessions.emplace_back("host" + std::to_string(i),
                              i % 7 == 0 ? "" : "Menu " + std::to_string(i % 50));
    }
    SessionCatalogue catalogue = BuildCatalogue(sessions);
    const uint64_t before = RegistryOperationCount();
    const std::vector<MenuTitle> first = LayoutSessionMenu(catalogue);
    const std::vector<std::string> firstItems = catalogue.menuItemSessions;
    // The menu bar and the tray popup are laid out one after the other: the second
    // layout must start again at 1000 and give the same numbers.
    EXPECT_EQ(LayoutSessionMenu(catalogue), first);
    EXPECT_EQ(catalogue.menuItemSessions, firstItems);
    EXPECT_EQ(RegistryOperationCount(), before);
    EXPECT_EQ(first.size(), 1u + 50u + 1u);
    EXPECT_EQ(firstItems.size(), sessions.size());
}

// Reads a menu back through Win32 into the layout's own form.
std::vector<MenuTitle> ReadBack(HMENU menu) {
    std::vector<MenuTitle> result;
    wchar_t buffer[512];
    const int titles = GetMenuItemCount(menu);
    for (int i = 0; i < titles; ++i) {
        MenuTitle title;
        GetMenuStringW(menu, static_cast<UINT>(i), buffer, 512, MF_BYPOSITION);
        title.text = Narrow(buffer);
        const HMENU sub = GetSubMenu(menu, i);
        EXPECT_NE(sub, nullptr) << title.text;
        const int items = sub ? GetMenuItemCount(sub) : 0;
        for (int j = 0; j < items; ++j) {
            MenuEntry entry;
            if (GetMenuState(sub, static_cast<UINT>(j), MF_BYPOSITION) & MF_SEPARATOR) {
                entry.id = 0;
            } else {
                entry.id = static_cast<int>(GetMenuItemID(sub, j));
                GetMenuStringW(sub, static_cast<UINT>(j), buffer, 512, MF_BYPOSITION);
                entry.text = Narrow(buffer);
            }
            title.entries.push_back(entry);
        }
        result.push_back(title);
    }
    return result;
}

TEST(BuildSessionMenu, MenuBarAndPopupHoldTheLayoutExactly) {
    SessionCatalogue catalogue = BuildCatalogue({{"web%20server%2001", "Server"},
                                                 {"Ölwerk", "   "},
                                                 {"db", "server"},
                                                 {"R&D", ""},
                                                 {"ärger", ""}});
    const std::vector<MenuTitle> layout = LayoutSessionMenu(catalogue);
    const UniqueMenu bar(CreateMenu());
    const UniqueMenu popup(CreatePopupMenu());
    ASSERT_TRUE(bar && popup);
    BuildSessionMenu(bar.get(), layout);
    BuildSessionMenu(popup.get(), layout);

    const std::vector<MenuTitle> fromBar = ReadBack(bar.get());
    EXPECT_EQ(fromBar, layout);
    EXPECT_EQ(ReadBack(popup.get()), fromBar);
}

} // namespace
} // namespace quarnel
