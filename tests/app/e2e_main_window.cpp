// The main window and its tray icon, used from the outside: hiding and showing, the
// popup menu, minimising, and the ways the program ends with the geometry they store.
#include "e2e_fixture.h"

#include "win/text.h"

#include <shellapi.h>

namespace quarnel::test {
namespace {

class E2eMainWindow : public E2eTest {
  protected:
    // Moves and sizes the main window as a user drags it; returns what should be stored.
    Geometry Place(int x, int y, int width, int height) {
        SetWindowPos(main_.Handle(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        Await(
            [&] {
                const RECT r = main_.WindowRect();
                return r.left == x && r.top == y && r.right - r.left == width &&
                       r.bottom - r.top == height;
            },
            "the main window to move");
        return GeometryOf(main_);
    }

    void ExpectShownWithAnEmptyFocusedHostField() {
        EXPECT_TRUE(main_.IsVisible());
        EXPECT_FALSE(main_.IsMinimized());
        EXPECT_EQ(main_.Control(kHostField).Text(), "");
        EXPECT_EQ(Focus(), main_.Control(kHostField));
    }
};

TEST_F(E2eMainWindow, HasItsFrameAndGadgets) {
    setup_.LaterRun();
    Start();
    const LONG style = GetWindowLongW(main_.Handle(), GWL_STYLE);
    const LONG wanted = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_EQ(main_.Text().rfind("Quarnel V. 0.53", 0), 0u);

    const struct {
        int id;
        const char* className;
        RECT place; // left, top, right, bottom in the client area
        const char* text;
    } gadgets[] = {
        {kHostField, "Edit", {5, 10, 140, 30}, ""},
        {kSshButton, "Button", {145, 10, 200, 30}, "SSH"},
        {kTelnetButton, "Button", {205, 10, 260, 30}, "Telnet"},
    };
    for (const auto& g : gadgets) {
        SCOPED_TRACE(g.id);
        const Window gadget = main_.Control(g.id);
        EXPECT_EQ(gadget.ClassName(), g.className);
        EXPECT_EQ(gadget.Text(), g.text);
        RECT place = gadget.WindowRect();
        MapWindowPoints(nullptr, main_.Handle(), reinterpret_cast<POINT*>(&place), 2);
        EXPECT_TRUE(EqualRect(&place, &g.place))
            << place.left << "," << place.top << " " << place.right << "," << place.bottom;
    }
    const Window field = main_.Control(kHostField);
    EXPECT_TRUE(GetWindowLongW(field.Handle(), GWL_STYLE) & ES_AUTOHSCROLL);
    EXPECT_TRUE(GetWindowLongW(field.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    CloseProgram();
}

// The stored height counts one line of menu bar, however many it takes.
TEST_F(E2eMainWindow, AWrappedMenuBarCountsOneLineInTheStoredHeight) {
    setup_.Setting("Fensterbreite", "150").Setting("Fensterhoehe", "150");
    for (const char* menu : {"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot"}) {
        setup_.Session(std::string("s") + menu, menu);
    }
    Start();
    const Menu bar = main_.ReadMenuBar();
    ASSERT_TRUE(bar.items.front().rect && bar.items.back().rect);
    ASSERT_GT(bar.items.back().rect->top, bar.items.front().rect->top) << "the bar does not wrap";
    const LONG client = main_.ClientRect().bottom;
    EXPECT_LE(client, 150 - 2 * GetSystemMetrics(SM_CYMENU));
    CloseProgram();
    EXPECT_EQ(Stored("Fensterhoehe"), std::to_string(client + GetSystemMetrics(SM_CYMENU)));
}

// One icon, from the end of start-up to the end of the program, also when the program
// starts hidden or on a first run.
TEST_F(E2eMainWindow, TheTrayIconLivesAsLongAsTheProgram) {
    const char* const starts[] = {"later run", "started minimised", "first run"};
    for (const std::string start : starts) {
        SCOPED_TRACE(start);
        QuarnelSetup setup;
        if (start == "later run") {
            setup.LaterRun();
        } else if (start == "started minimised") {
            setup.Setting("Startminimized", "1");
        }
        App& app = Start({}, start != "first run");
        if (start == "first run") {
            app.WaitForMessageBox("Ulvas Quarnel").Answer(IDOK);
            app.WaitForWindow(TitleIs(kConfigTitle));
            main_.WaitUntilIdle();
        }
        EXPECT_TRUE(TrayIconShown(1));
        EXPECT_FALSE(TrayIconShown(2));
        CloseProgram();
        EXPECT_FALSE(TrayIconShown(1));
    }
}

TEST_F(E2eMainWindow, TrayLeftClickHidesAndShowsAndOtherMouseActionsDoNothing) {
    setup_.LaterRun();
    App& app = Start();
    const Geometry shownAt = Place(220, 140, 520, 130);
    main_.Control(kHostField).Type("vorher");

    const UINT nothing[] = {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK,
                            WM_MOUSEMOVE,   WM_MBUTTONUP,     WM_MBUTTONDOWN, WM_MBUTTONDBLCLK,
                            WM_CONTEXTMENU, NIN_SELECT,       NIN_KEYSELECT,  WM_NULL};
    for (const bool hidden : {true, false}) {
        SCOPED_TRACE(hidden ? "hidden" : "shown");
        app.Tray(main_, WM_LBUTTONUP);
        EXPECT_EQ(main_.IsVisible(), !hidden);
        if (hidden) {
            EXPECT_EQ(StoredGeometry(), shownAt);
            EXPECT_FALSE(app.FindWindow(TitleStartsWith(kMainTitlePrefix)));
        } else {
            ExpectShownWithAnEmptyFocusedHostField();
            EXPECT_EQ(GeometryOf(main_), shownAt);
            main_.Control(kHostField).Type("nachher");
        }
        for (const UINT mouse : nothing) {
            SCOPED_TRACE("tray message " + std::to_string(mouse));
            app.Tray(main_, mouse);
            EXPECT_EQ(main_.IsVisible(), !hidden);
            EXPECT_FALSE(app.PopupMenuOpen());
        }
    }
    EXPECT_EQ(main_.Control(kHostField).Text(), "nachher");
    CloseProgram();
}

TEST_F(E2eMainWindow, ADoubleClickOnTheTrayIconHidesAndShowsAgain) {
    setup_.LaterRun();
    App& app = Start();
    main_.Control(kHostField).Type("abc");
    // What the notification area reports for a double click: each release toggles.
    for (const UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}) {
        app.Tray(main_, mouse);
    }
    EXPECT_FALSE(main_.IsVisible());
    app.Tray(main_, WM_LBUTTONUP);
    ExpectShownWithAnEmptyFocusedHostField();
    CloseProgram();
}

TEST_F(E2eMainWindow, MinimisingHidesToTheTrayAtOnceWithoutStoringTheGeometry) {
    setup_.LaterRun();
    App& app = Start();
    main_.Control(kHostField).Type("host");
    main_.Minimize();
    EXPECT_FALSE(main_.IsVisible());
    EXPECT_FALSE(app.FindWindow(TitleStartsWith(kMainTitlePrefix)));
    EXPECT_EQ(StoredGeometry(), kNoGeometry);

    app.Tray(main_, WM_LBUTTONUP);
    ExpectShownWithAnEmptyFocusedHostField();
    EXPECT_EQ(GeometryOf(main_), GeometryValues(10, 10, 500, 60));

    // Minimised again: one left click still brings it back.
    main_.Minimize();
    EXPECT_FALSE(main_.IsVisible());
    app.Tray(main_, WM_LBUTTONUP);
    EXPECT_TRUE(main_.IsVisible());
    EXPECT_FALSE(main_.IsMinimized());
    CloseProgram();
}

TEST_F(E2eMainWindow, TrayRightClickShowsThePopupMenuAtTheMouse) {
    setup_.LaterRun();
    App& app = Start();
    const struct {
        const char* state;
        bool hidden;
    } cases[] = {{"shown", false}, {"hidden", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        if (c.hidden) {
            app.Tray(main_, WM_LBUTTONUP);
        }
        SetCursorPos(400, 300);
        app.Tray(main_, WM_RBUTTONUP);
        const Menu popup = app.WaitForPopupMenu();
        EXPECT_EQ(main_.IsVisible(), !c.hidden);
        ASSERT_FALSE(popup.items.empty());
        EXPECT_EQ(popup.items[0].text, "DATEI     ");
        ASSERT_TRUE(popup.items[0].rect);
        // The menu's top-left corner lies one pixel up and left of the mouse.
        const auto windows = app.TopLevelWindows();
        bool found = false;
        for (const Window& window : windows) {
            if (window.ClassName() == "#32768") {
                const RECT r = window.WindowRect();
                EXPECT_EQ(r.left, 399);
                EXPECT_EQ(r.top, 299);
                found = true;
            }
        }
        EXPECT_TRUE(found);
        app.DismissMenu();
        EXPECT_EQ(main_.IsVisible(), !c.hidden);
    }
    CloseProgram();
}

// Every way of ending stores the main window's geometry as it was last shown.
TEST_F(E2eMainWindow, EndingStoresTheGeometryOfTheMainWindow) {
    const char* const ways[] = {
        "close box", "Beenden in the menu bar", "Beenden in the tray popup while hidden",
        "close box with the information window open", "Beenden while minimised"};
    for (const std::string way : ways) {
        SCOPED_TRACE(way);
        QuarnelSetup setup;
        setup.LaterRun();
        App& app = Start();
        const Geometry expected = Place(300, 200, 610, 140);

        if (way == "close box") {
            main_.Close();
        } else if (way == "Beenden in the menu bar") {
            main_.ChooseFromMenuBar(kMenuQuit);
        } else if (way == "Beenden in the tray popup while hidden") {
            app.Tray(main_, WM_LBUTTONUP);
            ASSERT_FALSE(main_.IsVisible());
            EXPECT_EQ(StoredGeometry(), expected);
            ForgetGeometry(); // so that only the end can bring the values back
            app.Tray(main_, WM_RBUTTONUP);
            app.ChooseFromPopupMenu(kMenuQuit);
        } else if (way == "close box with the information window open") {
            main_.ChooseFromMenuBar(kMenuAbout);
            const Window info = app.WaitForWindow(TitleIs(kInfoTitle));
            Activate(info);
            main_.Close();
        } else {
            main_.Minimize();
            ASSERT_FALSE(main_.IsVisible());
            app.Tray(main_, WM_RBUTTONUP);
            app.ChooseFromPopupMenu(kMenuQuit);
        }
        EXPECT_EQ(app.WaitForExit(), 0u);
        EXPECT_EQ(StoredGeometry(), expected);
        // Nothing else is written on the way out.
        EXPECT_EQ(StoredValueNames(),
                  (std::vector<std::string>{"Fensterbreite", "Fensterhoehe", "FensterpositionX",
                                            "FensterpositionY"}));
    }
}

// Whatever window was used last, the geometry stored is the main window's.
TEST_F(E2eMainWindow, HidingWithAnotherWindowActiveStoresTheMainWindow) {
    for (const std::string& other : {kInfoTitle, kConfigTitle}) {
        SCOPED_TRACE(other);
        QuarnelSetup setup;
        setup.LaterRun();
        App& app = Start();
        const Geometry expected = Place(150, 250, 450, 100);
        main_.ChooseFromMenuBar(other == kInfoTitle ? kMenuAbout : kMenuConfigure);
        const Window window = app.WaitForWindow(TitleIs(other));
        main_.WaitUntilIdle();
        Activate(window);
        app.Tray(main_, WM_LBUTTONUP);
        EXPECT_FALSE(main_.IsVisible());
        EXPECT_TRUE(window.IsVisible());
        EXPECT_EQ(StoredGeometry(), expected);
        CloseProgram();
    }
}

// The program emptying the host field is no user action: it starts nothing.
TEST_F(E2eMainWindow, EmptyingTheHostFieldStartsNothing) {
    setup_.WithFakePutty();
    App& app = Start();
    const Window field = main_.Control(kHostField);
    for (const char* host : {"einer", "zweiter"}) {
        field.Type(host);
        app.Tray(main_, WM_LBUTTONUP);
        app.Tray(main_, WM_LBUTTONUP);
        EXPECT_EQ(field.Text(), "");
    }
    EXPECT_EQ(LaunchedOptions(), std::vector<std::string>{});
    EXPECT_FALSE(app.FindWindow(TitleIs("Fehler")));
    CloseProgram();
}

} // namespace
} // namespace quarnel::test
