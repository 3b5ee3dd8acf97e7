// The menu bar and the tray popup of the running program, read back from inside it.
#include "e2e_fixture.h"

namespace quarnel::test {
namespace {

// The menus as Menu::Dump shows them, with the two menus that differ in case only in
// the order given: their order is not fixed.
std::string ExpectedMenus(const std::string& server1, const std::string& server2) {
    return "DATEI     \n  Putty Einstellungen [901]\n  Quarnel konfigurieren [910]\n"
           "  ---\n  Über dieses Tool [980]\n  ---\n  Beenden [990]\n"
           "Ärger\n  Wut [1000]\n"
           "ärger\n  grummel [1001]\n"
           "Alpha\n  alpha two [1002]\n  Beta one [1003]\n  zeta [1004]\n"
           "Büro\n  Schreibtisch [1005]\n"
           "Bus\n  Linie 5 [1006]\n" +
           server1 + " [1007]\n" + server2 + " [1008]\n" +
           "WEITERE...\n  Übung [1009]\n  Default Settings [1010]\n  web server%2501 [1011]\n";
}

TEST_F(E2eTest, MenuBarAndTrayPopupHoldTheSameMenusAndAWrappedBarCountsOneLine) {
    setup_.Setting("Fensterbreite", "150").Setting("Fensterhoehe", "150");
    setup_.Session("zeta", "Alpha").Session("Beta%20one", "Alpha").Session("alpha%20two", "Alpha");
    setup_.Session("grummel", "ärger").Session("Wut", "Ärger").Session("Schreibtisch", "Büro");
    setup_.Session("Linie%205", "Bus").Session("eins", "Server").Session("zwei", "server");
    setup_.Session("web%20server%2501").Session("Übung").Session("Default%20Settings");
    App& app = Start();

    const Menu bar = main_.ReadMenuBar();
    const std::string dump = bar.Dump();
    EXPECT_TRUE(dump == ExpectedMenus("Server\n  eins", "server\n  zwei") ||
                dump == ExpectedMenus("server\n  zwei", "Server\n  eins"))
        << dump;

    // The popup opens with its top-left corner one pixel up and left of the mouse.
    SetCursorPos(400, 300);
    app.Tray(main_, WM_RBUTTONUP);
    EXPECT_EQ(app.WaitForPopupMenu().Dump(), dump);
    int popups = 0;
    for (const Window& window : app.TopLevelWindows()) {
        if (window.ClassName() == "#32768") {
            EXPECT_EQ(window.WindowRect().left, 399);
            EXPECT_EQ(window.WindowRect().top, 299);
            ++popups;
        }
    }
    EXPECT_EQ(popups, 1);
    app.DismissMenu();
    EXPECT_FALSE(app.PopupMenuOpen());

    ASSERT_TRUE(bar.items.front().rect && bar.items.back().rect);
    ASSERT_GT(bar.items.back().rect->top, bar.items.front().rect->top) << "the bar does not wrap";
    const LONG client = main_.ClientRect().bottom;
    CloseProgram();
    EXPECT_EQ(StoredGeometry()[3], std::to_string(client + GetSystemMetrics(SM_CYMENU)));
}

} // namespace
} // namespace quarnel::test
