// The windows moving to a monitor of another resolution, as Windows tells them with
// WM_DPICHANGED. They are opened in this process, where the fonts of their controls can
// be looked at.
#include "app/info_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace quarnel::test {
namespace {

// Per control: left, top, right and bottom in the client area (the bottom of a combo box
// left out: its field is as high as its font makes it) and the height of its font.
std::map<int, std::vector<int>> LookOf(HWND window) {
    std::map<int, std::vector<int>> looks;
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)), sizeof font, &font);
        wchar_t kind[16] = {};
        GetClassNameW(c, kind, 16);
        looks[GetDlgCtrlID(c)] = {r.left, r.top, r.right,
                                  lstrcmpiW(kind, L"ComboBox") != 0 ? r.bottom : 0,
                                  static_cast<int>(font.lfHeight)};
    }
    return looks;
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
    {
        const HWND window = info.Handle();
        const int from = static_cast<int>(WindowDpi(window));
        const int to = from * 3 / 2;
        RECT frame{};
        GetWindowRect(window, &frame);
        const std::map<int, std::vector<int>> before = LookOf(window);
        ASSERT_FALSE(before.empty());

        const RECT suggested{frame.left + 30, frame.top + 20,
                             frame.left + 30 + MulDiv(frame.right - frame.left, to, from),
                             frame.top + 20 + MulDiv(frame.bottom - frame.top, to, from)};
        for (const auto& [dpi, rect] : {std::pair{to, suggested}, std::pair{from, frame}}) {
            SCOPED_TRACE(dpi);
            SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&rect));
            RECT now{};
            GetWindowRect(window, &now);
            EXPECT_TRUE(EqualRect(&now, &rect));
            const std::map<int, std::vector<int>> after = LookOf(window);
            ASSERT_EQ(after.size(), before.size());
            for (const auto& [id, old] : before) {
                for (size_t i = 0; i < old.size(); ++i) {
                    EXPECT_NEAR(after.at(id)[i], MulDiv(old[i], dpi, from), 1)
                        << "control " << id << ", value " << i;
                }
            }
        }
    }
}

} // namespace
} // namespace quarnel::test
