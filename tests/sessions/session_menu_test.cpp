// The menu layout from a catalogue.
#include "sessions/session_menu.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

const std::string kFileMenu =
    "DATEI     \n  Putty Einstellungen [901]\n  Quarnel konfigurieren [910]\n"
    "  ---\n  Über dieses Tool [980]\n  ---\n  Beenden [990]\n";

// Each title on a line, then its items indented by two blanks, "---" for a separator.
std::string Dump(const std::vector<MenuTitle>& layout) {
    std::string out;
    for (const MenuTitle& title : layout) {
        out += title.text + "\n";
        for (const MenuEntry& e : title.entries) {
            out += e.id == 0 ? "  ---\n" : "  " + e.text + " [" + std::to_string(e.id) + "]\n";
        }
    }
    return out;
}

TEST(LayoutSessionMenu, NumbersTheItemsOfEachMenuInOrderThenTheRest) {
    const struct {
        std::vector<std::pair<std::string, std::string>> sessions; // key name, menu
        std::string menus;                                         // after the file menu
        std::vector<std::string> behindItems;                      // 1000, 1001, ...
    } cases[] = {
        {{{"e", ""}, {"a%20x", "A"}, {"c", ""}, {"b", "A"}, {"D", ""}},
         "A\n  a x [1000]\n  b [1001]\nWEITERE...\n  c [1002]\n  D [1003]\n  e [1004]\n",
         {"a%20x", "b", "c", "D", "e"}},
        {{{"s1", "Zoo"},
          {"s2", "ärger"},
          {"s3", "Alpha"},
          {"s4", "   "},
          {"s0", "Zoo"},
          {"s5", "Alpha "}},
         "ärger\n  s2 [1000]\n   \n  s4 [1001]\nAlpha\n  s3 [1002]\nAlpha \n  s5 [1003]\n"
         "Zoo\n  s0 [1004]\n  s1 [1005]\nWEITERE...\n",
         {"s2", "s4", "s3", "s5", "s0", "s1"}},
        // Menus show every character as stored, escapes undone.
        {{{"R%26D", "Dev & Ops"}, {"B%FCro%09x", ""}},
         "Dev && Ops\n  R&&D [1000]\nWEITERE...\n  Büro x [1001]\n",
         {"R%26D", "B%FCro%09x"}},
    };
    for (const auto& c : cases) {
        const SessionMenu menu = LayoutSessionMenu(BuildCatalogue(c.sessions));
        EXPECT_EQ(Dump(menu.titles), kFileMenu + c.menus);
        EXPECT_EQ(menu.menuItemSessions, c.behindItems);
    }
}

// Menu commands carry 16-bit numbers: the items end at 65535, the rest stay out of the
// menus rather than wrap onto the fixed items.
TEST(LayoutSessionMenu, SessionItemsEndAtTheLast16BitNumberAndLongMenusGoOnUnderTheirTitle) {
    std::vector<std::pair<std::string, std::string>> sessions;
    for (int i = 0; i < 65600; ++i) {
        std::string key = "s";
        key += std::to_string(100000 + i);
        sessions.emplace_back(std::move(key), "");
    }
    const SessionMenu menu = LayoutSessionMenu(BuildCatalogue(sessions));
    const std::vector<MenuTitle>& layout = menu.titles;
    EXPECT_EQ(menu.menuItemSessions.size(), 64536u);
    EXPECT_EQ(layout.back().entries.back().id, 65535);
    // Long menus go on under the same title, numbered, the items in order.
    ASSERT_EQ(layout.size(), 1u + 17u);
    EXPECT_EQ(layout[1].text + "|" + layout[2].text + "|" + layout.back().text,
              "WEITERE...|WEITERE... (2)|WEITERE... (17)");
    EXPECT_EQ(layout[1].entries.size(), 4000u);
    EXPECT_EQ(layout[2].entries.front().id, 5000);
}

} // namespace
} // namespace quarnel
