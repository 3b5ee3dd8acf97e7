// The menu bar and the tray popup of the running program, read back from inside it.
#include "e2e_fixture.h"

#include "win/text.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace quarnel::test {
namespace {

const std::string kFileMenu = "DATEI     \n"
                              "  Putty Einstellungen [901]\n"
                              "  Quarnel konfigurieren [910]\n"
                              "  ---\n"
                              "  Über dieses Tool [980]\n"
                              "  ---\n"
                              "  Beenden [990]\n";

struct MenuCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> sessions; // key name, menu
    // The menus as Menu::Dump shows them after "DATEI     "; one of these.
    std::vector<std::string> expected;
};

const MenuCase kMenuCases[] = {
    {"no session at all", {}, {"WEITERE...\n"}},
    {"no session with a menu",
     {{"web%20server%2501", ""}, {"Default%20Settings", ""}, {"alpha", ""}},
     {"WEITERE...\n"
      "  alpha [1000]\n"
      "  Default Settings [1001]\n"
      "  web server%2501 [1002]\n"}},
    {"menus in catalogue order, umlauts first, numbers running across them",
     {{"zeta", "Alpha"},
      {"Beta%20one", "Alpha"},
      {"alpha%20two", "Alpha"},
      {"zoo1", "Zoo"},
      {"grummel", "ärger"},
      {"Wut", "Ärger"},
      {"leer", "   "},
      {"Schreibtisch", "Büro"},
      {"Linie%205", "Bus"},
      {"web%20server%2501", ""},
      {"Übung", ""},
      {"Default%20Settings", ""},
      {"a%20b", ""},
      {"a!", ""},
      {"a-b", ""}},
     {"Ärger\n"
      "  Wut [1000]\n"
      "ärger\n"
      "  grummel [1001]\n"
      "   \n"
      "  leer [1002]\n"
      "Alpha\n"
      "  alpha two [1003]\n"
      "  Beta one [1004]\n"
      "  zeta [1005]\n"
      "Büro\n"
      "  Schreibtisch [1006]\n"
      "Bus\n"
      "  Linie 5 [1007]\n"
      "Zoo\n"
      "  zoo1 [1008]\n"
      "WEITERE...\n"
      "  Übung [1009]\n"
      "  a! [1010]\n"
      "  a b [1011]\n"
      "  a-b [1012]\n"
      "  Default Settings [1013]\n"
      "  web server%2501 [1014]\n"}},
    // Names that differ in case only are different menus, in no fixed order.
    {"Server and server",
     {{"eins", "Server"}, {"zwei", "server"}, {"drei", ""}},
     {"Server\n  eins [1000]\nserver\n  zwei [1001]\nWEITERE...\n  drei [1002]\n",
      "server\n  zwei [1000]\nServer\n  eins [1001]\nWEITERE...\n  drei [1002]\n"}},
    {"texts handed on unchanged, a menu value too long to read counting as none",
     {{"R&D", "F&E"}, {"lang", std::string(300, 'x')}, {"%2A%20%41", ""}},
     {"F&E\n  R&D [1000]\nWEITERE...\n  %2A %41 [1001]\n  lang [1002]\n"}},
    {"every session in a menu",
     {{"b", "M"}, {"a", "M"}},
     {"M\n  a [1000]\n  b [1001]\nWEITERE...\n"}},
};

std::string Alternatives(const std::vector<std::string>& dumps) {
    std::string text;
    for (const std::string& dump : dumps) {
        text += kFileMenu + dump + "-- or --\n";
    }
    return text;
}

class E2eMenus : public E2eTest {};

TEST_F(E2eMenus, MenuBarAndTrayPopupHoldTheSameMenus) {
    for (const MenuCase& c : kMenuCases) {
        SCOPED_TRACE(c.name);
        QuarnelSetup setup;
        setup.LaterRun();
        for (const auto& [keyName, menu] : c.sessions) {
            setup.Session(keyName, menu);
        }
        App& app = Start();

        const std::string bar = main_.ReadMenuBar().Dump();
        std::vector<std::string> expected;
        for (const std::string& dump : c.expected) {
            expected.push_back(kFileMenu + dump);
        }
        EXPECT_NE(std::find(expected.begin(), expected.end(), bar), expected.end())
            << "menu bar:\n"
            << bar << "expected:\n"
            << Alternatives(c.expected);

        app.Tray(main_, WM_RBUTTONUP);
        const Menu popup = app.WaitForPopupMenu();
        EXPECT_EQ(popup.Dump(), bar);
        for (const MenuItem& title : popup.items) {
            EXPECT_EQ(title.kind, MenuItem::Kind::Submenu) << title.text;
        }

        // Dismissed, the popup leaves the program as it was.
        app.DismissMenu();
        EXPECT_FALSE(app.PopupMenuOpen());
        EXPECT_TRUE(main_.IsVisible());
        EXPECT_EQ(main_.ReadMenuBar().Dump(), bar);
        CloseProgram();
    }
}

// A number stands for the same session in both menus.
TEST_F(E2eMenus, AnItemNumberStartsTheSameSessionFromEitherMenu) {
    setup_.WithFakePutty()
        .Session("eins", "A")
        .Session("zwei", "A")
        .Session("drei")
        .Session("vier%20fünf")
        .Session("sechs");
    App& app = Start();
    // A: eins 1000, zwei 1001; WEITERE...: drei 1002, sechs 1003, vier fünf 1004
    main_.ChooseFromMenuBar(1003);
    app.Tray(main_, WM_RBUTTONUP);
    app.ChooseFromPopupMenu(1003);
    main_.ChooseFromMenuBar(1004);

    const std::vector<FakePuttyStart> starts = putty_.WaitFor(3);
    ASSERT_EQ(starts.size(), 3u);
    std::vector<std::wstring> sessions;
    for (const FakePuttyStart& start : starts) {
        const auto load = std::find(start.arguments.begin(), start.arguments.end(), L"-load");
        ASSERT_NE(load, start.arguments.end()) << Narrow(start.commandLine);
        ASSERT_NE(load + 1, start.arguments.end()) << Narrow(start.commandLine);
        sessions.push_back(*(load + 1));
    }
    // The stand-ins may write their records in any order.
    std::sort(sessions.begin(), sessions.end());
    EXPECT_EQ(sessions, (std::vector<std::wstring>{L"sechs", L"sechs", L"vier fünf"}));
    CloseProgram();
}

// What the four fixed items do, chosen from either menu.
TEST_F(E2eMenus, TheFixedItemsActFromEitherMenu) {
    for (const bool fromPopup : {false, true}) {
        SCOPED_TRACE(fromPopup ? "tray popup" : "menu bar");
        QuarnelSetup setup;
        setup.WithFakePutty();
        App& app = Start();
        const auto choose = [&](int id) {
            if (fromPopup) {
                app.Tray(main_, WM_RBUTTONUP);
                app.ChooseFromPopupMenu(id);
            } else {
                main_.ChooseFromMenuBar(id);
            }
            if (id != kMenuQuit) {
                main_.WaitUntilIdle();
            }
        };
        const size_t before = putty_.Read().size();
        choose(901); // PuTTY alone, so that its own settings open
        const std::vector<FakePuttyStart> starts = putty_.WaitFor(before + 1);
        ASSERT_EQ(starts.size(), before + 1);
        EXPECT_EQ(starts.back().arguments.size(), 1u) << Narrow(starts.back().commandLine);

        for (int twice = 0; twice < 2; ++twice) {
            choose(910);
            app.WaitForWindow(TitleIs(kConfigTitle));
        }
        const std::vector<Window> windows = app.TopLevelWindows();
        EXPECT_EQ(std::count_if(windows.begin(), windows.end(),
                                [](const Window& window) { return window.Text() == kConfigTitle; }),
                  1);
        choose(kMenuAbout);
        app.WaitForWindow(TitleIs(kInfoTitle));
        choose(kMenuQuit);
        EXPECT_EQ(app.WaitForExit(), 0u);
    }
}

// The tray popup takes the right button as well as the left.
TEST_F(E2eMenus, ThePopupTakesARightClickOnAnItem) {
    setup_.LaterRun();
    App& app = Start();
    app.Tray(main_, WM_RBUTTONUP);
    const Menu top = app.WaitForPopupMenu();
    std::optional<Window> popup;
    for (const Window& window : app.TopLevelWindows()) {
        if (window.ClassName() == "#32768") {
            popup = window;
        }
    }
    ASSERT_TRUE(popup);
    // While a menu is tracked, a mouse message's place is read in screen coordinates.
    const auto rightClick = [&](const RECT& r) {
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        popup->Post(WM_MOUSEMOVE, 0, at);
        popup->Post(WM_RBUTTONDOWN, MK_RBUTTON, at);
        popup->Post(WM_RBUTTONUP, 0, at);
    };
    ASSERT_TRUE(top.items.at(0).rect);
    rightClick(*top.items[0].rect);
    std::optional<Menu> open;
    Await(
        [&] {
            open = app.ReadPopupMenu();
            return open && open->items.at(0).items.size() > 3 && open->items[0].items[3].rect;
        },
        "\"DATEI     \" to open");
    ASSERT_EQ(open->items[0].items[3].id, kMenuAbout);
    rightClick(*open->items[0].items[3].rect);
    app.WaitForWindow(TitleIs(kInfoTitle));
    EXPECT_FALSE(app.PopupMenuOpen());
    CloseProgram();
}

} // namespace
} // namespace quarnel::test
