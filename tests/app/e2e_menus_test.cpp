// The menu bar and the tray popup of the running program, read back from inside it.
#include "testkit/e2e_fixture.h"

#include <tuple>

namespace quarnel::test {
namespace {

TEST_F(E2eTest, MenuBarAndTrayPopupHoldTheSameMenusAndAWrappedBarKeepsTheWindowsSize) {
    setup_.Setting("Fensterbreite", "265").Setting("Fensterhoehe", "150");
    setup_.Session("zeta", "Alpha Rechenzentrum Nord")
        .Session("Beta%20one", "Alpha Rechenzentrum Nord")
        .Session("Linie%205", "Büro");
    setup_.Session("Übung");
    App& app = Start();

    const Menu bar = main_.ReadMenuBar();
    EXPECT_EQ(bar.Dump(),
              "DATEI     \n  Putty Einstellungen [901]\n  Quarnel konfigurieren [910]\n"
              "  ---\n  Über dieses Tool [980]\n  ---\n  Beenden [990]\n"
              "Alpha Rechenzentrum Nord\n  Beta one [1000]\n  zeta [1001]\nBüro\n  Linie 5 [1002]\n"
              "WEITERE...\n  Übung [1003]\n");

    // The popup opens with its top-left corner one pixel up and left of the mouse.
    SetCursorPos(400, 300);
    app.Tray(main_, WM_RBUTTONUP);
    EXPECT_EQ(app.WaitForPopupMenu().Dump(), bar.Dump());
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
    // Every start stores what it opened with: the window keeps its size however often
    // the program starts.
    const RECT client = main_.ClientRect();
    CloseProgram();
    const std::string stored = StoredGeometry();
    for (int start = 0; start < 2; ++start) {
        Start();
        EXPECT_EQ(std::tuple(main_.ClientRect().right, main_.ClientRect().bottom),
                  std::tuple(client.right, client.bottom));
        CloseProgram();
        EXPECT_EQ(StoredGeometry(), stored);
    }
}

} // namespace
} // namespace quarnel::test
