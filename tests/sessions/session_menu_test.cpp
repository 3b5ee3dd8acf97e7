// The menu layout from a catalogue, and the real Win32 menus built from it.
#include "sessions/session_menu.h"
#include "menu_print.h"

#include "registry/registry.h"
#include "win/handles.h"
#include "win/text.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

const MenuTitle kFileTitle{"DATEI     ",
                           {{901, "Putty Einstellungen"},
                            {910, "Quarnel konfigurieren"},
                            {0, ""},
                            {980, "Über dieses Tool"},
                            {0, ""},
                            {990, "Beenden"}}};

TEST(LayoutSessionMenu, NumbersItemsAcrossMenusThenTheRest) {
    const struct {
        const char* name;
        std::vector<std::pair<std::string, std::string>> sessions;
        std::vector<MenuTitle> expected; // after the file title
    } cases[] = {
        {"two in A, three without",
         {{"e", ""}, {"a%20x", "A"}, {"c", ""}, {"b", "A"}, {"D", ""}},
         {{"A", {{1000, "a x"}, {1001, "b"}}},
          {"WEITERE...", {{1002, "c"}, {1003, "D"}, {1004, "e"}}}}},
        {"no menus at all",
         {{"web%20server%2001", ""}, {"Büro", ""}},
         {{"WEITERE...", {{1000, "Büro"}, {1001, "web server 01"}}}}},
        {"no sessions", {}, {{"WEITERE...", {}}}},
        {"all assigned, menus in catalogue order",
         {{"s1", "Zoo"}, {"s2", "ärger"}, {"s3", "Alpha"}, {"s4", "   "}, {"s0", "Zoo"}},
         {{"ärger", {{1000, "s2"}}},
          {"   ", {{1001, "s4"}}},
          {"Alpha", {{1002, "s3"}}},
          {"Zoo", {{1003, "s0"}, {1004, "s1"}}},
          {"WEITERE...", {}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SessionCatalogue catalogue = BuildCatalogue(c.sessions);
        std::vector<MenuTitle> expected{kFileTitle};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(LayoutSessionMenu(catalogue), expected);

        // Entry k of menuItemSessions is the key name behind item 1000 + k.
        std::vector<std::string> behindItems;
        for (const MenuTitle& title : expected) {
            for (const MenuEntry& entry : title.entries) {
                if (entry.id >= kFirstSessionItem) {
                    ASSERT_EQ(entry.id - kFirstSessionItem, static_cast<int>(behindItems.size()));
                    behindItems.push_back(SessionKeyName(entry.text));
                }
            }
        }
        EXPECT_EQ(catalogue.menuItemSessions, behindItems);
    }
}

TEST(LayoutSessionMenu, MenusDifferingInCaseKeepTheirOwnSessions) {
    SessionCatalogue catalogue = BuildCatalogue({{"one", "Server"}, {"two", "server"}});
    const std::vector<MenuTitle> layout = LayoutSessionMenu(catalogue);
    ASSERT_EQ(layout.size(), 4u);
    for (size_t i = 1; i <= 2; ++i) {
        ASSERT_EQ(layout[i].entries.size(), 1u);
        const std::string& session = catalogue.menuItemSessions.at(
            static_cast<size_t>(layout[i].entries[0].id - kFirstSessionItem));
        EXPECT_EQ(catalogue.menuOfSession.at(session), layout[i].text);
    }
}

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
