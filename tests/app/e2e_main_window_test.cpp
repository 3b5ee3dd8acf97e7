// A later run of the program used from the outside: one copy only, the main window
// hiding in the tray and coming back, the information window, the end by the close box.
#include "testkit/e2e_fixture.h"

#include <set>

namespace quarnel::test {
namespace {

std::set<DWORD> windowThreads; // the threads that made or showed a window

TEST_F(E2eTest, ALaterRunRunsOnceHidesInTheTrayAndStoresItsPlaceAtTheEnd) {
    setup_.WithFakePutty();
    const HWINEVENTHOOK hook = SetWinEventHook(
        EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr,
        [](HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD thread, DWORD) {
            if (window != nullptr && object == OBJID_WINDOW) {
                windowThreads.insert(thread);
            }
        },
        0, 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    const auto madeAWindow = [](DWORD thread) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        return windowThreads.count(thread) != 0;
    };
    App& app = Start();
    const Window host = main_.Control(kHostField);
    EXPECT_EQ(Focus(), host);
    host.Type("erste");

    // A second copy ends at once without a window and leaves the first as it was.
    ASSERT_TRUE(WaitUntil([&] { return madeAWindow(app.MainThreadId()); })) << "no window events";
    const App second;
    EXPECT_EQ(second.WaitForExit(), 0u);
    EXPECT_FALSE(madeAWindow(second.MainThreadId())) << "the second copy showed a window";
    UnhookWinEvent(hook);
    EXPECT_EQ(host.Text(), "erste");

    // Minimised, it hides at once and stores nothing; the tray icon brings it back with
    // an empty, focused host field. Each left release on the icon toggles, hiding stores
    // the place shown; other mouse actions on it do nothing.
    main_.Minimize();
    EXPECT_FALSE(main_.IsVisible());
    EXPECT_EQ(StoredGeometry(), kNoGeometry);
    for (const bool hidden : {false, true, false}) {
        SCOPED_TRACE(hidden ? "hidden" : "shown");
        app.Tray(main_, WM_LBUTTONUP);
        if (hidden) {
            EXPECT_FALSE(main_.IsVisible());
            EXPECT_EQ(StoredGeometry(), GeometryOfMain());
        } else {
            EXPECT_TRUE(main_.IsVisible() && !main_.IsMinimized());
            EXPECT_EQ(host.Text(), "");
            EXPECT_EQ(Focus(), host);
            Place(220, 140, 520, 130);
            host.Type("zweite");
        }
        for (const UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK,
                                 WM_MOUSEMOVE, WM_MBUTTONUP, WM_CONTEXTMENU}) {
            app.Tray(main_, mouse);
            EXPECT_EQ(main_.IsVisible(), !hidden) << "tray message " << mouse;
            EXPECT_FALSE(app.PopupMenuOpen());
        }
    }

    // "Über dieses Tool" again closes the information window and opens it afresh, in the
    // centre of the screen.
    main_.ChooseFromMenuBar(kMenuAbout);
    const Window first = app.WaitForWindow(TitleIs(kInfoTitle));
    app.Tray(main_, WM_RBUTTONUP);
    app.ChooseFromPopupMenu(kMenuAbout);
    main_.WaitUntilIdle();
    EXPECT_FALSE(first.Exists());
    Window info = app.WaitForWindow(TitleIs(kInfoTitle));
    const RECT centred = info.WindowRect();
    EXPECT_EQ(centred.left, GetSystemMetrics(SM_CXSCREEN) / 2 - (centred.right - centred.left) / 2);
    EXPECT_EQ(centred.top, GetSystemMetrics(SM_CYSCREEN) / 2 - (centred.bottom - centred.top) / 2);

    // Return in it does nothing; it stays while the main window hides, which stores the
    // main window's place although the information window was active.
    Activate(info);
    info.Control(kInfoOk).PressKey(VK_RETURN);
    EXPECT_TRUE(info.IsVisible());
    const std::string last = Place(300, 200, 610, 140);
    app.Tray(main_, WM_LBUTTONUP);
    EXPECT_EQ(StoredGeometry(true), last);
    app.Tray(main_, WM_LBUTTONUP);
    EXPECT_TRUE(info.IsVisible());

    // OK and its close box close it; the program goes on.
    info.Control(kInfoOk).Click();
    EXPECT_FALSE(info.Exists());
    main_.ChooseFromMenuBar(kMenuAbout);
    info = app.WaitForWindow(TitleIs(kInfoTitle));
    info.Close();
    EXPECT_FALSE(info.Exists());
    ExpectATelnetStartOnly("Return in the information window or emptying the field started one");

    CloseProgram(); // the close box stores the main window's place
    EXPECT_EQ(StoredGeometry(), last);
}

} // namespace
} // namespace quarnel::test
