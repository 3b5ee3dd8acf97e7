// The menu layout from a catalogue.
#include "sessions/session_menu.h"
#include "menu_print.h"

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

} // namespace
} // namespace quarnel
