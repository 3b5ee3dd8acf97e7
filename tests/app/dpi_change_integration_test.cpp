// The windows moving to a monitor of another resolution, as Windows tells them with
// WM_DPICHANGED. They are opened in this process, where the fonts of their controls can
// be looked at.
#include "app/info_window.h"
#include "win/gadgets.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace quarnel::test {
namespace {

// Of each control in turn: left, top, right and bottom in the client area, and the height
// of its font.
std::vector<int> LookOf(HWND window) {
    std::vector<int> look;
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)), sizeof font, &font);
        look.insert(look.end(),
                    {r.left, r.top, r.right, r.bottom, static_cast<int>(font.lfHeight)});
    }
    return look;
}

// Every window follows a resolution change the same way; the information window, with
// fonts of its own beside the default one, stands for them all.
TEST(DpiChange, AWindowTakesTheSuggestedFrameAndScalesItsControlsAndFonts) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    Fonts fonts;
    ToolTips toolTips(GetModuleHandleW(nullptr));
    const WindowEnv env{GetModuleHandleW(nullptr), nullptr, nullptr, &fonts, &toolTips, nullptr};
    InfoWindow info(env);
    ASSERT_TRUE(info.Open());
    const HWND window = info.Handle();
    const int from = static_cast<int>(WindowDpi(window)), to = from * 3 / 2;
    RECT frame{};
    GetWindowRect(window, &frame);
    const std::vector<int> before = LookOf(window);
    ASSERT_FALSE(before.empty());

    const RECT suggested{frame.left + 30, frame.top + 20, frame.right + 90, frame.bottom + 70};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    RECT now{};
    GetWindowRect(window, &now);
    EXPECT_TRUE(EqualRect(&now, &suggested));
    const std::vector<int> after = LookOf(window);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_NEAR(after[i], MulDiv(before[i], to, from), 1)
            << "control " << i / 5 << ", value " << i % 5;
    }
}

// A window larger than the screen starts at its corner, with its title bar on it to be taken.
TEST(DpiChange, AWindowLargerThanTheScreenStartsAtItsCorner) {
    const POINT corner =
        CentredOnScreen({GetSystemMetrics(SM_CXSCREEN) + 301, GetSystemMetrics(SM_CYSCREEN) + 99});
    EXPECT_EQ(std::pair(corner.x, corner.y), std::pair(0L, 0L));
}

} // namespace
} // namespace quarnel::test
