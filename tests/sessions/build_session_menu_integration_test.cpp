// PuTTY's sessions read from the test run's private registry and built into real menus.
#include "testkit/menu_dump.h"
#include "registry/registry.h"
#include "sessions/build_session_menu.h"
#include "testkit/quarnel_setup.h"
#include "win/handles.h"
#include "win/text.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

// A Win32 menu read back in the form of Dump.
std::string Dump(HMENU menu) {
    std::string out;
    wchar_t text[512];
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        GetMenuStringW(menu, static_cast<UINT>(i), text, 512, MF_BYPOSITION);
        out += Narrow(text) + "\n";
        const HMENU sub = GetSubMenu(menu, i);
        for (int j = 0; sub != nullptr && j < GetMenuItemCount(sub); ++j) {
            if (GetMenuState(sub, static_cast<UINT>(j), MF_BYPOSITION) & MF_SEPARATOR) {
                out += "  ---\n";
                continue;
            }
            GetMenuStringW(sub, static_cast<UINT>(j), text, 512, MF_BYPOSITION);
            out += "  " + Narrow(text) + " [" + std::to_string(GetMenuItemID(sub, j)) + "]\n";
        }
    }
    return out;
}

TEST(LoadSessionCatalogue, ReadsEachSessionOnceAndTheMenusNeedNoFurtherReads) {
    test::QuarnelSetup setup;
    setup.Session("Default%20Settings")
        .Session("web%20server%2001", "Server")
        .Session("R&D", "   ")
        .Session("ärger", std::string(300, 'x')) // too long to read: no menu
        .Session("alpha", "Server");
    const uint64_t before = RegistryPlatformCallCount();
    SessionCatalogue catalogue = LoadSessionCatalogue();
    // The sessions key opened once and its write time taken before and after; per session
    // its name, and its menu read relative to it: open, query, close.
    const uint64_t calls = RegistryPlatformCallCount() - before;
    EXPECT_LE(calls, 4u * 5u + 5u);
    EXPECT_EQ(catalogue.allSessions,
              (std::vector<std::string>{"ärger", "alpha", "Default%20Settings", "R&D",
                                        "web%20server%2001"}));

    const std::vector<MenuTitle> layout = LayoutSessionMenu(catalogue);
    const UniqueMenu bar(CreateMenu());
    const UniqueMenu popup(CreatePopupMenu());
    BuildSessionMenu(bar.get(), layout);
    BuildSessionMenu(popup.get(), layout);
    EXPECT_EQ(RegistryPlatformCallCount() - before, calls); // the menus read nothing more
    const std::string expected = kFileMenu + "   \n  R&&D [1000]\nServer\n  alpha [1001]\n"
                                             "  web server 01 [1002]\nWEITERE...\n  ärger [1003]\n"
                                             "  Default Settings [1004]\n";
    EXPECT_EQ(Dump(bar.get()), expected);
    EXPECT_EQ(Dump(popup.get()), expected);
    EXPECT_EQ(catalogue.menuItemSessions.at(2), "web%20server%2001");
}

} // namespace
} // namespace quarnel
