// quarnel.exe where its surroundings change: the shell restarts and forgets the tray
// icon, the monitor the geometry was stored on is gone, the screen's resolution is high.
#include "app/settings.h"
#include "app/tray.h"
#include "registry/registry.h"
#include "testkit/quarnel_setup.h"
#include "testkit/ui_driver.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <map>

namespace quarnel::test {
namespace {

constexpr char kInfoTitle[] = "Quarnel - Information";
constexpr char kConfigTitle[] = "Quarnel Konfiguration ";

// What the tray does for the program's icon when someone else asks it.
bool TrayIcon(DWORD action, const Window& mainWindow) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = mainWindow.Handle();
    data.uID = kTrayIconId;
    return Shell_NotifyIconW(action, &data) != FALSE;
}

Window WaitForMainWindow(const App& app) {
    WindowQuery query = TitleStartsWith(kMainTitlePrefix);
    query.visibleOnly = false; // it may be hidden in the tray
    return app.WaitForWindow(query);
}

std::string Stored(const std::string& valueName) {
    return RegistryRead(ProgramKey, valueName, ".");
}

TEST(E2eHardeningTest, TheTrayIconComesBackOnceWhenTheShellRestarts) {
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    for (const bool hidden : {false, true}) {
        SCOPED_TRACE(hidden ? "hidden in the tray" : "shown");
        QuarnelSetup setup;
        setup.LaterRun();
        if (hidden) {
            setup.Setting("Startminimized", "1");
        }
        App app;
        const Window main = WaitForMainWindow(app);
        Await([&] { return TrayIcon(NIM_MODIFY, main); }, "the tray icon");
        if (hidden) {
            main.WaitUntilGone();
        }

        // The shell went away with its icons; the new one tells every top-level window.
        ASSERT_TRUE(TrayIcon(NIM_DELETE, main));
        ASSERT_FALSE(TrayIcon(NIM_MODIFY, main));
        SendNotifyMessageW(HWND_BROADCAST, taskbarCreated, 0, 0);
        Await([&] { return TrayIcon(NIM_MODIFY, main); }, "the tray icon back");
        EXPECT_FALSE(TrayIcon(NIM_ADD, main)) << "a second icon of the same number";

        // Another shell announcing itself while the icon stands adds nothing.
        SendNotifyMessageW(HWND_BROADCAST, taskbarCreated, 0, 0);
        main.WaitUntilIdle();
        EXPECT_TRUE(TrayIcon(NIM_MODIFY, main));
        EXPECT_FALSE(TrayIcon(NIM_ADD, main)) << "a second icon of the same number";
        EXPECT_EQ(main.IsVisible(), !hidden);

        main.PostMenuCommand(990);
        EXPECT_EQ(app.WaitForExit(), 0u);
        EXPECT_FALSE(TrayIcon(NIM_MODIFY, main)) << "the icon outlived the program";
    }
}

TEST(E2eHardeningTest, AStoredPlaceOnAMonitorIsKeptAndOneOffEveryMonitorReplaced) {
    MONITORINFO primary{};
    primary.cbSize = sizeof primary;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary));
    const RECT screen = primary.rcMonitor;
    const struct {
        const char* what;
        int x, y;
        bool kept; // else at (10, 10) of the primary monitor
    } cases[] = {
        {"inside", 200, 150, true},
        {"partly off to the top left", -150, -20, true},
        {"partly off to the bottom right", screen.right - 40, screen.bottom - 30, true},
        {"just right of the screen", screen.right, 100, false},
        {"just below the screen", 100, screen.bottom, false},
        {"left of the screen", -1000, 100, false},
        {"far off", -30000, -30000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QuarnelSetup setup;
        setup.Setting("FensterpositionX", std::to_string(c.x))
            .Setting("FensterpositionY", std::to_string(c.y))
            .Setting("Fensterbreite", "300")
            .Setting("Fensterhoehe", "80");
        App app;
        const Window main = app.WaitForWindow(TitleStartsWith(kMainTitlePrefix));
        const POINT expected = c.kept ? POINT{c.x, c.y} : POINT{screen.left + 10, screen.top + 10};
        EXPECT_EQ(main.WindowRect().left, expected.x);
        EXPECT_EQ(main.WindowRect().top, expected.y);
        EXPECT_EQ(main.ClientRect().right, MulDiv(300, static_cast<int>(GetDpiForSystem()), 96));

        main.Close();
        EXPECT_EQ(app.WaitForExit(), 0u);
        EXPECT_EQ(Stored("FensterpositionX"), std::to_string(expected.x));
        EXPECT_EQ(Stored("FensterpositionY"), std::to_string(expected.y));
        EXPECT_EQ(Stored("Fensterbreite"), "300");
        EXPECT_EQ(Stored("Fensterhoehe"), "80");
    }
}

// Wine takes the screen's resolution from this value whenever a program starts.
class ScreenResolution {
  public:
    explicit ScreenResolution(int dpi) : before_(RegistryRead(kKey, kValue, ".")) {
        RegistryWrite(kKey, kValue, std::to_string(dpi), kRegDword, ".");
    }
    ~ScreenResolution() {
        if (before_.empty()) {
            RegistryDeleteValue(kKey, kValue, ".");
        } else {
            RegistryWrite(kKey, kValue, before_, kRegDword, ".");
        }
    }
    ScreenResolution(const ScreenResolution&) = delete;
    ScreenResolution& operator=(const ScreenResolution&) = delete;

  private:
    static constexpr char kKey[] = "HKEY_CURRENT_USER\\Control Panel\\Desktop";
    static constexpr char kValue[] = "LogPixels";
    std::string before_;
};

// The client size of a window and the places of its controls within it.
struct Layout {
    SIZE client{};
    std::map<int, RECT> controls;
    std::map<int, std::string> kinds;
};

Layout LayoutOf(const Window& window) {
    window.WaitUntilIdle(); // shown at once, but made to the end only then
    Layout layout;
    const RECT client = window.ClientRect();
    layout.client = {client.right, client.bottom};
    for (const Window& control : window.Controls()) {
        if (control.Parent() == window) {
            RECT rect = control.WindowRect();
            MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&rect), 2);
            layout.controls[control.Id()] = rect;
            layout.kinds[control.Id()] = control.ClassName();
        }
    }
    return layout;
}

// The windows of a run at one resolution, the main window's geometry as stored after it.
struct ResolutionRun {
    std::map<std::string, Layout> windows;
    RECT mainFrame{};
    std::string storedWidth, storedHeight;
};

ResolutionRun RunAt(int dpi) {
    ScreenResolution resolution(dpi);
    QuarnelSetup setup;
    setup.Setting("FensterpositionX", "40").Setting("FensterpositionY", "30");
    App app;
    ResolutionRun run;
    const Window main = app.WaitForWindow(TitleStartsWith(kMainTitlePrefix));
    run.mainFrame = main.WindowRect();
    run.windows["main"] = LayoutOf(main);
    main.PostMenuCommand(980);
    const Window info = app.WaitForWindow(TitleIs(kInfoTitle));
    run.windows["information"] = LayoutOf(info);
    info.Close();
    main.PostMenuCommand(910);
    const Window config = app.WaitForWindow(TitleIs(kConfigTitle));
    run.windows["configuration"] = LayoutOf(config);
    config.Close();
    main.Close();
    EXPECT_EQ(app.WaitForExit(), 0u);
    run.storedWidth = Stored("Fensterbreite");
    run.storedHeight = Stored("Fensterhoehe");
    return run;
}

void ExpectScaledWithin1(int at96, int scaled, int dpi, const char* what) {
    EXPECT_NEAR(scaled, MulDiv(at96, dpi, 96), 1) << what << " " << at96 << " at 96 dpi";
}

TEST(E2eHardeningTest, AtAHighResolutionEveryWindowScalesAsAWhole) {
    constexpr int kHigh = 144;
    const ResolutionRun low = RunAt(96);
    const ResolutionRun high = RunAt(kHigh);
    ASSERT_EQ(high.windows.size(), 3u);
    for (const auto& [name, at96] : low.windows) {
        SCOPED_TRACE(name);
        const Layout& scaled = high.windows.at(name);
        ExpectScaledWithin1(at96.client.cx, scaled.client.cx, kHigh, "client width");
        ExpectScaledWithin1(at96.client.cy, scaled.client.cy, kHigh, "client height");
        ASSERT_EQ(scaled.controls.size(), at96.controls.size());
        for (const auto& [id, rect] : at96.controls) {
            SCOPED_TRACE(id);
            const RECT& big = scaled.controls.at(id);
            ExpectScaledWithin1(rect.left, big.left, kHigh, "left");
            ExpectScaledWithin1(rect.top, big.top, kHigh, "top");
            ExpectScaledWithin1(rect.right - rect.left, big.right - big.left, kHigh, "width");
            // A closed combo box is as high as its field, which its font decides.
            if (at96.kinds.at(id) != "ComboBox") {
                ExpectScaledWithin1(rect.bottom - rect.top, big.bottom - big.top, kHigh, "height");
            }
        }
    }
    // The stored position is in screen pixels, the stored size at 96 dpi either way.
    EXPECT_EQ(high.mainFrame.left, 40);
    EXPECT_EQ(high.mainFrame.top, 30);
    EXPECT_EQ(low.mainFrame.left, 40);
    EXPECT_EQ(high.storedWidth, "500");
    EXPECT_EQ(high.storedHeight, "60");
    EXPECT_EQ(low.storedWidth, "500");
    EXPECT_EQ(low.storedHeight, "60");
}

} // namespace
} // namespace quarnel::test
