#include "app/quick_search_window.h"

#include "win/dpi.h"
#include "win/gadgets.h"
#include "win/text.h"

#include <commctrl.h>

#include <algorithm>

namespace quarnel {

namespace {

constexpr wchar_t kClassName[] = L"QuarnelQuickSearch";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW; // no task-bar button
constexpr int kWidth = 420, kHeight = 300;
constexpr UINT kMoreRowsMessage = WM_APP + 2;
constexpr UINT kCloseIfInactiveMessage = WM_APP + 3;
constexpr size_t kFirstRows = 64, kMoreRows = 500;

using Row = GadgetRow<QuickSearchWindow>;
const Row kRows[] = {
    {{kQuickSearchField, GadgetKind::TextField, 10, 10, 400, 22},
     kTextChanged,
     &QuickSearchWindow::OnQueryChanged},
    {{kQuickSearchList, GadgetKind::ListBox, 10, 40, 400, 250},
     kDoubleClicked,
     &QuickSearchWindow::OnStart},
};

// The field keeps the focus while the arrow and page keys move the list's selection;
// Return and Escape are the window's dialog keys.
LRESULT CALLBACK FieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                           DWORD_PTR) {
    if (message == WM_KEYDOWN) {
        switch (wParam) {
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
            SendMessageW(GetDlgItem(GetParent(field), kQuickSearchList), message, wParam, lParam);
            return 0;
        case VK_HOME:
        case VK_END:
            if (GetKeyState(VK_CONTROL) < 0) {
                break; // within the field's text
            }
            SendMessageW(GetDlgItem(GetParent(field), kQuickSearchList), message, wParam, lParam);
            return 0;
        default:
            break;
        }
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(field, FieldProc, id);
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

// A row: the name as the menus show it, then its menu in parentheses when it has one.
std::wstring RowText(const SearchEntry& entry) {
    const std::wstring name = Widen(entry.shown, CodePage::System);
    return entry.menu.empty() ? name : name + L" (" + Widen(entry.menu) + L")";
}

} // namespace

QuickSearchWindow::QuickSearchWindow(const WindowEnv& env, const SessionCatalogue& catalogue,
                                     std::vector<size_t> recent, QuickSearchHost& host)
    : RowWindow(env), catalogue_(catalogue), index_(SearchEntriesOf(catalogue)),
      recent_(std::move(recent)), host_(host) {}

std::span<const GadgetRow<QuickSearchWindow>> QuickSearchWindow::Rows() {
    return kRows;
}

bool QuickSearchWindow::Open() {
    POINT cursor{};
    GetCursorPos(&cursor);
    const HMONITOR monitor = MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    const RECT& work = info.rcWork;
    // Made on that monitor first: only the window knows its monitor's resolution.
    const POINT corner{work.left, work.top};
    const SIZE guess = OuterSizeForClient(kStyle, kExStyle, kWidth, kHeight, GetDpiForSystem());
    if (!TopWindow::Open(kClassName, "Quarnel Schnellsuche", kStyle, kExStyle, {corner, guess})) {
        return false;
    }
    const SIZE outer = OuterSizeForClient(kStyle, kExStyle, kWidth, kHeight, WindowDpi(Handle()));
    SetWindowPos(Handle(), HWND_TOPMOST, (work.left + work.right - outer.cx) / 2,
                 (work.top + work.bottom - outer.cy) / 2, outer.cx, outer.cy, SWP_NOACTIVATE);
    CreateGadgets();
    SetWindowSubclass(GetDlgItem(Handle(), kQuickSearchField), FieldProc, 1, 0);
    Refill();
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    FocusFirstControl();
    return true;
}

void QuickSearchWindow::Reopen() {
    SetGadgetText(Handle(), kQuickSearchField, "");
    Refill();
    SetForegroundWindow(Handle());
    SetFocus(GetDlgItem(Handle(), kQuickSearchField));
}

void QuickSearchWindow::CatalogueChanged(std::vector<size_t> recent) {
    index_ = SearchIndex(SearchEntriesOf(catalogue_));
    recent_ = std::move(recent);
    Refill();
}

void QuickSearchWindow::Refill() {
    const HWND list = GetDlgItem(Handle(), kQuickSearchList);
    rows_ = index_.Find(GadgetText(Handle(), kQuickSearchField), recent_);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    SendMessageW(list, LB_INITSTORAGE, rows_.size(), rows_.size() * 64);
    shownRows_ = 0;
    // What fills the window at once; the rest follows message by message, so that the
    // window is there in an instant and typing never waits for thousands of rows.
    AddRows(kFirstRows);
    SendMessageW(list, LB_SETCURSEL, rows_.empty() ? static_cast<WPARAM>(-1) : 0, 0);
}

void QuickSearchWindow::AddRows(size_t count) {
    const HWND list = GetDlgItem(Handle(), kQuickSearchList);
    const size_t end = std::min(rows_.size(), shownRows_ + count);
    if (shownRows_ == end) {
        return;
    }
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (; shownRows_ < end; ++shownRows_) {
        SendMessageW(list, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(RowText(index_.entry(rows_[shownRows_])).c_str()));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    if (shownRows_ < rows_.size()) {
        PostMessageW(Handle(), kMoreRowsMessage, 0, 0);
    }
}

void QuickSearchWindow::OnQueryChanged() {
    Refill();
}

void QuickSearchWindow::OnStart() {
    const auto selected =
        static_cast<int>(SendDlgItemMessageW(Handle(), kQuickSearchList, LB_GETCURSEL, 0, 0));
    const std::wstring typed = WideGadgetText(Handle(), kQuickSearchField);
    // The window goes first: whatever the start shows then has the screen to itself. The
    // object lives on until this handler has returned.
    if (selected >= 0 && static_cast<size_t>(selected) < rows_.size()) {
        const std::string keyName = catalogue_.allSessions.at(rows_[static_cast<size_t>(selected)]);
        Close();
        host_.StartSession(keyName);
    } else if (rows_.empty()) {
        Close();
        host_.ConnectTo(typed);
    }
}

LRESULT QuickSearchWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMoreRowsMessage) {
        AddRows(kMoreRows);
        return 0;
    }
    if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) {
        // Not at once: the activation is still changing. And only if it is still inactive
        // then, since the hotkey may have brought it back in between.
        PostMessageW(Handle(), kCloseIfInactiveMessage, 0, 0);
    }
    if (message == kCloseIfInactiveMessage) {
        if (GetActiveWindow() != Handle()) {
            Close();
        }
        return 0;
    }
    return TopWindow::OnMessage(message, wParam, lParam);
}

} // namespace quarnel
