// Loading the catalogue from PuTTY's real sessions key in the test run's private registry.
#include "registry/registry.h"
#include "sessions/catalogue.h"
#include "sessions/session_menu.h"
#include "menu_print.h"
#include "testkit/test_support.h"

#include <gtest/gtest.h>

#include <optional>

namespace quarnel {
namespace {

class LoadSessionCatalogueTest : public ::testing::Test {
  protected:
    // The sessions key without its trailing backslash, as DeleteTree takes it.
    const std::string sessionsRoot = SessionsKey.substr(0, SessionsKey.size() - 1);

    void SetUp() override { test::DeleteTree(sessionsRoot); }
    void TearDown() override {
        test::DeleteTree(sessionsRoot);
        EXPECT_EQ(RegistryKeyExists(sessionsRoot, "."), 0);
    }

    void Seed(const std::string& name, const std::optional<std::string>& menu) {
        ASSERT_EQ(RegistryCreateKey(SessionsKey + name, "."), 1) << name;
        if (menu) {
            ASSERT_EQ(RegistryWrite(SessionsKey + name, MenuValueName, *menu, kRegSz, "."), 1);
        }
    }
};

TEST_F(LoadSessionCatalogueTest, ReadsEverySessionAndItsMenu) {
    const struct {
        std::string name;
        std::optional<std::string> menu;
    } seeds[] = {
        {"Default%20Settings", std::nullopt},
        {"web%20server%2001", "Server"},
        {"mail", "Web"},
        {"Büro", "   "},
        {"Bus", ""},
        {"ärger", std::string(300, 'x')}, // too long to read: no menu
        {"alpha", "Server"},
    };
    for (const auto& s : seeds) {
        Seed(s.name, s.menu);
    }

    const uint64_t before = RegistryOperationCount();
    SessionCatalogue catalogue = LoadSessionCatalogue();
    // One listing per session plus the one that ends it, and one read per session.
    EXPECT_EQ(RegistryOperationCount() - before, 2 * std::size(seeds) + 1);

    EXPECT_EQ(catalogue.allSessions,
              (std::vector<std::string>{"ärger", "alpha", "Büro", "Bus", "Default%20Settings",
                                        "mail", "web%20server%2001"}));
    EXPECT_EQ(catalogue.menuNames, (std::vector<std::string>{"   ", "Server", "Web"}));
    EXPECT_EQ(catalogue.assignedSessions,
              (std::vector<std::string>{"alpha", "Büro", "mail", "web%20server%2001"}));
    EXPECT_EQ(catalogue.unassignedSessions,
              (std::vector<std::string>{"ärger", "Bus", "Default%20Settings"}));
    EXPECT_TRUE(catalogue.menuItemSessions.empty());

    // The menus come from what was loaded, without going back to the registry.
    const std::vector<MenuTitle> layout = LayoutSessionMenu(catalogue);
    ASSERT_EQ(layout.size(), 5u);
    EXPECT_EQ(layout[1], (MenuTitle{"   ", {{1000, "Büro"}}}));
    EXPECT_EQ(layout[2], (MenuTitle{"Server", {{1001, "alpha"}, {1002, "web server 01"}}}));
    EXPECT_EQ(layout[3], (MenuTitle{"Web", {{1003, "mail"}}}));
    EXPECT_EQ(layout[4], (MenuTitle{"WEITERE...",
                                    {{1004, "ärger"}, {1005, "Bus"}, {1006, "Default Settings"}}}));
    EXPECT_EQ(catalogue.menuItemSessions.at(6), "Default%20Settings");
}

TEST_F(LoadSessionCatalogueTest, MissingSessionsKeyGivesEmptyMenus) {
    ASSERT_EQ(RegistryKeyExists(sessionsRoot, "."), 0);
    SessionCatalogue catalogue = LoadSessionCatalogue();
    EXPECT_TRUE(catalogue.allSessions.empty());
    EXPECT_TRUE(catalogue.menuNames.empty());
    const std::vector<MenuTitle> layout = LayoutSessionMenu(catalogue);
    ASSERT_EQ(layout.size(), 2u);
    EXPECT_EQ(layout[0].text, "DATEI     ");
    EXPECT_EQ(layout[1], (MenuTitle{"WEITERE...", {}}));
}

} // namespace
} // namespace quarnel
