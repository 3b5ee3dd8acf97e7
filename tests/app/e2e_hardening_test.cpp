// quarnel.exe where its surroundings change: the monitor the geometry was stored on is
// gone, the screen's resolution is high.
#include "testkit/e2e_fixture.h"

#include <map>

namespace quarnel::test {
namespace {

TEST_F(E2eTest, AStoredPlaceIsKeptUnlessItIsOffEveryMonitor) {
    const int right = GetSystemMetrics(SM_CXSCREEN), bottom = GetSystemMetrics(SM_CYSCREEN);
    const struct {
        int x, y;
        bool kept; // else at (10, 10)
    } cases[] = {{-150, -20, true},
                 {right - 40, bottom - 30, true},
                 {right, 100, false},
                 {100, bottom, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Geometry(c.x, c.y, 300, 80));
        QuarnelSetup setup;
        setup.Setting("FensterpositionX", std::to_string(c.x))
            .Setting("FensterpositionY", std::to_string(c.y))
            .Setting("Fensterbreite", "300")
            .Setting("Fensterhoehe", "80");
        Start();
        // The stored height counts the menu bar in: the frame is grown from it as for a
        // window without one, and the bar then takes its height from the client area.
        const std::string expected =
            c.kept ? Geometry(c.x, c.y, 300, 80) : Geometry(10, 10, 300, 80);
        EXPECT_EQ(GeometryOfMain(), expected);
        CloseProgram();
        EXPECT_EQ(StoredGeometry(), expected);
    }
}

// Sizes nobody could have dragged: the window still shows its controls and fits the
// screen, and what it stores next time is as sane.
TEST_F(E2eTest, AbsurdStoredSizesAreKeptBetweenTheControlsAndTheScreen) {
    const std::pair<const char*, const char*> cases[] = {
        {"2147483647", "2147483647"}, {"-2147483648", "-5"}, {"1", "1"}};
    for (const auto& [width, height] : cases) {
        SCOPED_TRACE(std::string(width) + " x " + height);
        QuarnelSetup setup;
        setup.Setting("Fensterbreite", width).Setting("Fensterhoehe", height);
        Start();
        RECT telnet = main_.Control(kTelnetButton).WindowRect();
        MapWindowPoints(nullptr, main_.Handle(), reinterpret_cast<POINT*>(&telnet), 2);
        const RECT client = main_.ClientRect(), outer = main_.WindowRect();
        EXPECT_LE(telnet.right, client.right);
        EXPECT_LE(telnet.bottom, client.bottom);
        EXPECT_LE(outer.right - outer.left, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_LE(outer.bottom - outer.top, GetSystemMetrics(SM_CYSCREEN));
        const std::string shown = GeometryOfMain();
        CloseProgram();
        EXPECT_EQ(StoredGeometry(), shown);
    }
}

// The program file was moved while it ran: the restart cannot start a new copy, says so
// and leaves this one running.
TEST_F(E2eTest, ARestartWithoutItsProgramFileSaysSoAndKeepsRunning) {
    const std::wstring folder =
        BuildDir() + L"\\tests\\moved" + std::to_wstring(GetCurrentProcessId());
    const std::wstring copy = folder + L"\\quarnel.exe", moved = folder + L"\\elsewhere.exe";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((BuildDir() + L"\\quarnel.exe").c_str(), copy.c_str(), FALSE));
    setup_.LaterRun();
    LaunchOptions options;
    options.program = copy;
    App& app = Start(options);
    main_.PostMenuCommand(910);
    const Window config = app.WaitForWindow(TitleIs(kConfigTitle));
    main_.WaitUntilIdle();
    ASSERT_TRUE(MoveFileW(copy.c_str(), moved.c_str()));
    const PendingCall click = config.Control(18).ClickAsync();
    const Window box = app.WaitForMessageBox("Fehler");
    EXPECT_EQ(box.MessageText(), "Quarnel konnte nicht neu gestartet werden");
    box.Answer(IDOK);
    click.Wait();
    EXPECT_TRUE(app.IsRunning());
    EXPECT_TRUE(main_.IsVisible());
    CloseProgram();
    EXPECT_TRUE(WaitUntil([&] { return DeleteFileW(moved.c_str()) != FALSE; }));
    RemoveDirectoryW(folder.c_str());
}

// Wine takes the screen's resolution from this value whenever a program starts.
struct ScreenResolution {
    static constexpr char kKey[] = "HKEY_CURRENT_USER\\Control Panel\\Desktop";
    explicit ScreenResolution(int dpi) {
        RegistryWrite(kKey, "LogPixels", std::to_string(dpi), kRegDword, ".");
    }
    ~ScreenResolution() { RegistryDeleteValue(kKey, "LogPixels", "."); }
};

TEST_F(E2eTest, EveryWindowScalesAsAWholeWithTheResolution) {
    // Places at 96 dpi in the client area; -1 stands for the client area itself.
    const struct {
        const char* window;
        int id;
        RECT at96;
    } spots[] = {{"main", kTelnetButton, {205, 10, 260, 30}},
                 {"info", -1, {0, 0, 347, 224}},
                 {"info", kInfoOk, {135, 165, 195, 195}},
                 {"config", -1, {0, 0, 710, 512}},
                 {"config", 37, {675, 205, 695, 225}}};
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        const ScreenResolution resolution(dpi);
        QuarnelSetup setup;
        setup.Setting("FensterpositionX", "40");
        App& app = Start();
        std::map<std::string, Window> windows{{"main", main_}};
        main_.PostMenuCommand(kMenuAbout);
        windows["info"] = app.WaitForWindow(TitleIs(kInfoTitle));
        main_.PostMenuCommand(910);
        windows["config"] = app.WaitForWindow(TitleIs(kConfigTitle));
        main_.WaitUntilIdle();
        for (const auto& s : spots) {
            SCOPED_TRACE(std::string(s.window) + " " + std::to_string(s.id));
            const Window window = windows.at(s.window);
            RECT place = s.id < 0 ? window.ClientRect() : window.Control(s.id).WindowRect();
            if (s.id >= 0) {
                MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&place), 2);
            }
            const LONG* const got = &place.left;
            for (int i = 0; i < 4; ++i) {
                EXPECT_NEAR(got[i], MulDiv((&s.at96.left)[i], dpi, 96), 1) << "side " << i;
            }
        }
        // The position is stored in screen pixels, the size at 96 dpi.
        CloseProgram();
        EXPECT_EQ(StoredGeometry(), Geometry(40, 10, 500, 60));
    }
}

} // namespace
} // namespace quarnel::test
