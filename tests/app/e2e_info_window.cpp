// The information window of the running program.
#include "e2e_fixture.h"

namespace quarnel::test {
namespace {

class E2eInfoWindow : public E2eTest {
  protected:
    std::vector<Window> InfoWindows() const {
        std::vector<Window> found;
        for (const Window& window : app_->TopLevelWindows(false)) {
            if (window.Exists() && window.Text() == kInfoTitle) {
                found.push_back(window);
            }
        }
        return found;
    }

    Window OpenFromMenuBar() {
        main_.ChooseFromMenuBar(kMenuAbout);
        const Window info = app_->WaitForWindow(TitleIs(kInfoTitle));
        main_.WaitUntilIdle(); // the window shows before its gadgets are made
        return info;
    }

    static void ExpectCentred(const Window& info) {
        const RECT r = info.WindowRect();
        EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) / 2 - (r.right - r.left) / 2);
        EXPECT_EQ(r.top, GetSystemMetrics(SM_CYSCREEN) / 2 - (r.bottom - r.top) / 2);
    }
};

TEST_F(E2eInfoWindow, ShowsNameVersionAndOkCentredOnTheScreen) {
    setup_.LaterRun();
    Start();
    const Window info = OpenFromMenuBar();
    EXPECT_TRUE(info.IsVisible());
    const RECT client = info.ClientRect();
    EXPECT_EQ(client.right, 347);
    EXPECT_EQ(client.bottom, 224);
    ExpectCentred(info);
    const LONG style = GetWindowLongW(info.Handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);

    const struct {
        int id;
        const char* className;
        RECT place;       // left, top, right, bottom in the client area
        const char* text; // nullptr: any text but the empty one
    } gadgets[] = {
        {28, "Static", {30, 15, 305, 55}, "Ulvas Quarnel"},
        {29, "Static", {0, 60, 345, 90}, "Version: V. 0.53 vom 13.02.2007"},
        {30, "Static", {0, 90, 345, 120}, nullptr},
        {31, "Button", {135, 165, 195, 195}, "OK"},
    };
    for (const auto& g : gadgets) {
        SCOPED_TRACE(g.id);
        const Window gadget = info.Control(g.id);
        EXPECT_EQ(gadget.ClassName(), g.className);
        if (g.text) {
            EXPECT_EQ(gadget.Text(), g.text);
        } else {
            EXPECT_NE(gadget.Text(), "");
        }
        RECT place = gadget.WindowRect();
        MapWindowPoints(nullptr, info.Handle(), reinterpret_cast<POINT*>(&place), 2);
        EXPECT_TRUE(EqualRect(&place, &g.place))
            << place.left << "," << place.top << " " << place.right << "," << place.bottom;
        if (g.id != 31) {
            EXPECT_EQ(GetWindowLongW(gadget.Handle(), GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
        }
    }
    CloseProgram();
}

TEST_F(E2eInfoWindow, OkAndTheCloseBoxCloseIt) {
    setup_.LaterRun();
    App& app = Start();
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "close box");
        const Window info = OpenFromMenuBar();
        if (ok) {
            info.Control(31).Click();
        } else {
            info.Close();
        }
        main_.WaitUntilIdle();
        EXPECT_FALSE(info.Exists());
        EXPECT_TRUE(InfoWindows().empty());
        EXPECT_TRUE(app.IsRunning());
        EXPECT_TRUE(main_.IsVisible());
    }
    CloseProgram();
}

TEST_F(E2eInfoWindow, ChosenTwiceThereIsOneFreshlyCentredWindow) {
    setup_.LaterRun();
    App& app = Start();
    const Window first = OpenFromMenuBar();
    SetWindowPos(first.Handle(), nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Await([&] { return first.WindowRect().left == 5; }, "the information window to move");

    app.Tray(main_, WM_RBUTTONUP);
    app.ChooseFromPopupMenu(kMenuAbout);
    main_.WaitUntilIdle();
    const std::vector<Window> open = InfoWindows();
    ASSERT_EQ(open.size(), 1u);
    EXPECT_TRUE(open[0].IsVisible());
    ExpectCentred(open[0]);
    CloseProgram();
}

TEST_F(E2eInfoWindow, ReturnInItDoesNothing) {
    setup_.WithFakePutty();
    App& app = Start();
    main_.Control(kHostField).Type("host");
    const Window info = OpenFromMenuBar();
    Activate(info);
    info.PressKey(VK_RETURN);
    info.Control(31).PressKey(VK_RETURN);
    app.PressKey(VK_RETURN);
    EXPECT_EQ(LaunchedOptions(), std::vector<std::string>{});
    EXPECT_TRUE(info.IsVisible());
    CloseProgram();
}

TEST_F(E2eInfoWindow, StaysOpenWhileTheMainWindowHidesAndComesBack) {
    setup_.LaterRun();
    App& app = Start();
    const Window info = OpenFromMenuBar();
    EXPECT_TRUE(main_.IsEnabled()) << "the information window is not modal";
    const RECT place = info.WindowRect();
    app.Tray(main_, WM_LBUTTONUP);
    EXPECT_FALSE(main_.IsVisible());
    EXPECT_TRUE(info.IsVisible());
    app.Tray(main_, WM_LBUTTONUP);
    EXPECT_TRUE(main_.IsVisible());
    EXPECT_TRUE(info.IsVisible());
    const RECT now = info.WindowRect();
    EXPECT_TRUE(EqualRect(&now, &place));
    EXPECT_EQ(InfoWindows().size(), 1u);

    // Minimised with the information window open, the main window goes alone.
    main_.Minimize();
    EXPECT_FALSE(main_.IsVisible());
    EXPECT_TRUE(info.IsVisible());
    app.Tray(main_, WM_LBUTTONUP);
    EXPECT_TRUE(main_.IsVisible());
    EXPECT_TRUE(info.IsVisible());
    CloseProgram();
}

} // namespace
} // namespace quarnel::test
