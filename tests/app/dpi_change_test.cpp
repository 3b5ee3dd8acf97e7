// The windows moving to a monitor of another resolution, as Windows tells them with
// WM_DPICHANGED. They are opened in this process, where the fonts of their controls can
// be looked at.
#include "app/controls.h"
#include "app/info_window.h"
#include "app/main_window.h"
#include "app/program.h"
#include "config/config_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

namespace quarnel::test {
namespace {

struct ControlLook {
    RECT rect{}; // in the client area; a combo box with its list
    // A combo box measures the room of its list against its field in the font it has
    // when it gets its size, so that its full height may differ by a few pixels.
    int heightSlack = 0;
    HFONT font = nullptr;
    LOGFONTW logFont{};
};

std::map<int, ControlLook> LookOf(HWND window) {
    std::map<int, ControlLook> looks;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        ControlLook& look = looks[GetDlgCtrlID(child)];
        GetWindowRect(child, &look.rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&look.rect), 2);
        RECT dropped{};
        if (SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)) ==
            CB_OKAY) {
            look.rect.bottom += dropped.bottom - dropped.top;
            look.heightSlack = MulDiv(5, static_cast<int>(WindowDpi(window)), 96);
        }
        look.font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        GetObjectW(look.font, sizeof look.logFont, &look.logFont);
    }
    return looks;
}

RECT FrameOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

void ExpectSameRect(const RECT& actual, const RECT& expected) {
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    EXPECT_EQ(actual.bottom, expected.bottom);
}

class DpiChangeTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Program& program = TheProgram();
        program.instance = GetModuleHandleW(nullptr);
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        for (size_t i = 0; i < kFontSpecs.size(); ++i) {
            program.fonts[i] =
                CreateProgramFont(kFontSpecs[i], static_cast<int>(GetDpiForSystem()));
        }
    }
};

TEST_F(DpiChangeTest, EveryWindowTakesTheSuggestedFrameAndScalesItsControlsAndFonts) {
    const struct {
        const char* name;
        std::function<HWND()> open;
    } windows[] = {
        {"main",
         [] {
             OpenMainWindow();
             return MainWindowHandle();
         }},
        {"information",
         [] {
             OpenInformationWindow();
             return InformationWindowHandle();
         }},
        {"configuration",
         [] {
             OpenConfigWindow();
             return ConfigWindowHandle();
         }},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.name);
        const HWND window = w.open();
        ASSERT_NE(window, nullptr);
        const int from = static_cast<int>(WindowDpi(window));
        const int to = from * 3 / 2;
        const RECT frame = FrameOf(window);
        const std::map<int, ControlLook> before = LookOf(window);
        ASSERT_FALSE(before.empty());

        const RECT suggested{frame.left + 30, frame.top + 20,
                             frame.left + 30 + MulDiv(frame.right - frame.left, to, from),
                             frame.top + 20 + MulDiv(frame.bottom - frame.top, to, from)};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(to, to),
                     reinterpret_cast<LPARAM>(&suggested));
        ExpectSameRect(FrameOf(window), suggested);
        const std::map<int, ControlLook> after = LookOf(window);
        ASSERT_EQ(after.size(), before.size());
        for (const auto& [id, old] : before) {
            SCOPED_TRACE(id);
            const ControlLook& now = after.at(id);
            EXPECT_NEAR(now.rect.left, MulDiv(old.rect.left, to, from), 1);
            EXPECT_NEAR(now.rect.top, MulDiv(old.rect.top, to, from), 1);
            EXPECT_NEAR(now.rect.right, MulDiv(old.rect.right, to, from), 1);
            EXPECT_NEAR(now.rect.bottom, MulDiv(old.rect.bottom, to, from),
                        std::max(1, MulDiv(old.heightSlack, to, from)));
            EXPECT_NEAR(now.logFont.lfHeight, MulDiv(old.logFont.lfHeight, to, from), 1);
            EXPECT_STREQ(now.logFont.lfFaceName, old.logFont.lfFaceName);
            EXPECT_EQ(now.logFont.lfWeight, old.logFont.lfWeight);
            EXPECT_EQ(now.logFont.lfItalic, old.logFont.lfItalic);
            EXPECT_EQ(now.logFont.lfUnderline, old.logFont.lfUnderline);
        }

        // Back on the first monitor everything is as it was, fonts and all.
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(from, from),
                     reinterpret_cast<LPARAM>(&frame));
        ExpectSameRect(FrameOf(window), frame);
        for (const auto& [id, now] : LookOf(window)) {
            SCOPED_TRACE(id);
            const ControlLook& old = before.at(id);
            EXPECT_EQ(now.rect.left, old.rect.left);
            EXPECT_EQ(now.rect.top, old.rect.top);
            EXPECT_EQ(now.rect.right, old.rect.right);
            EXPECT_NEAR(now.rect.bottom, old.rect.bottom, old.heightSlack);
            EXPECT_EQ(now.font, old.font);
        }
        DestroyWindow(window);
    }
}

TEST_F(DpiChangeTest, FontsFollowThePointSizeAtEveryResolution) {
    for (const int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        for (int number = 0; number <= 6; ++number) {
            SCOPED_TRACE(number);
            const HFONT font = ProgramFont(number, static_cast<UINT>(dpi));
            LOGFONTW logFont{};
            ASSERT_EQ(GetObjectW(font, sizeof logFont, &logFont), sizeof logFont);
            const int points =
                number == 0 ? 8 : kFontSpecs.at(static_cast<size_t>(number - 1)).points;
            EXPECT_EQ(logFont.lfHeight, FontHeightForPoints(points, dpi));
            EXPECT_EQ(ProgramFont(number, static_cast<UINT>(dpi)), font) << "made once";
        }
    }
    // The fonts at hand serve where they fit: the table's at the system's resolution,
    // the stock GUI font (made for the system's resolution) at 96 dpi on a 96-dpi system.
    const UINT system = GetDpiForSystem();
    EXPECT_EQ(ProgramFont(3, system), ProgramFont(3));
    if (system == 96) {
        EXPECT_EQ(ProgramFont(0, 96), GetStockObject(DEFAULT_GUI_FONT));
    }
}

} // namespace
} // namespace quarnel::test
