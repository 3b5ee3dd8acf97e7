// quarnel.exe where its surroundings change: the monitor the geometry was stored on is
// gone, the screen's resolution is high.
#include "e2e_fixture.h"

#include <map>

namespace quarnel::test {
namespace {

TEST_F(E2eTest, AStoredPlaceIsKeptUnlessItIsOffEveryMonitor) {
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const struct {
        const char* what;
        int x, y;
        bool kept; // else at (10, 10)
    } cases[] = {
        {"partly off to the top left", -150, -20, true},
        {"partly off to the bottom right", screen.right - 40, screen.bottom - 30, true},
        {"just right of the screen", screen.right, 100, false},
        {"just below the screen", 100, screen.bottom, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QuarnelSetup setup;
        const Geometry stored = GeometryValues(c.x, c.y, 300, 80);
        for (size_t i = 0; i < stored.size(); ++i) {
            setup.Setting(kGeometryNames[i], stored[i]);
        }
        Start();
        const Geometry expected = c.kept ? stored : GeometryValues(10, 10, 300, 80);
        // The stored height counts the menu bar in: the frame is grown from it as for a
        // window without one, and the bar then takes its height from the client area.
        EXPECT_EQ(GeometryOfMain(), expected);
        CloseProgram();
        EXPECT_EQ(StoredGeometry(), expected);
    }
}

// Wine takes the screen's resolution from this value whenever a program starts; 96 dpi
// when it is missing.
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
        const char* text; // nullptr: not looked at
    } spots[] = {
        {"main", kHostField, {5, 10, 140, 30}, nullptr},
        {"main", kTelnetButton, {205, 10, 260, 30}, "Telnet"},
        {"info", -1, {0, 0, 347, 224}, nullptr},
        {"info", 28, {30, 15, 305, 55}, "Ulvas Quarnel"},
        {"info", 29, {0, 60, 345, 90}, "Version: V. 0.53 vom 13.02.2007"},
        {"info", kInfoOk, {135, 165, 195, 195}, "OK"},
        {"config", -1, {0, 0, 710, 512}, nullptr},
        {"config", 37, {675, 205, 695, 225}, "..."},
    };
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
            RECT place = window.ClientRect();
            if (s.id >= 0) {
                const Window control = window.Control(s.id);
                place = control.WindowRect();
                MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&place), 2);
                EXPECT_TRUE(s.text == nullptr || control.Text() == s.text) << control.Text();
            }
            EXPECT_NEAR(place.left, MulDiv(s.at96.left, dpi, 96), 1);
            EXPECT_NEAR(place.top, MulDiv(s.at96.top, dpi, 96), 1);
            EXPECT_NEAR(place.right, MulDiv(s.at96.right, dpi, 96), 1);
            EXPECT_NEAR(place.bottom, MulDiv(s.at96.bottom, dpi, 96), 1);
        }
        // The position is stored in screen pixels, the size at 96 dpi.
        CloseProgram();
        EXPECT_EQ(StoredGeometry(), GeometryValues(40, 10, 500, 60));
    }
}

} // namespace
} // namespace quarnel::test
