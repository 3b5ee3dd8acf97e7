#include "app/main_window.h"

#include "app/tray.h"
#include "registry/registry.h"
#include "registry/value_text.h"
#include "sessions/build_session_menu.h"
#include "version.h"
#include "win/dpi.h"
#include "win/gadgets.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

namespace quarnel {

namespace {

constexpr wchar_t kClassName[] = L"QuarnelMainWindow";
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME;
constexpr UINT kPendingMenusMessage = WM_APP + 4;

using Row = GadgetRow<MainWindow>;
const Row kRows[] = {
    {{kHostField, GadgetKind::TextField, 5, 10, 135, 20, "", 0,
      "IP oder Hostnamen angeben, um direkt eine SSH bzw. Telnet Verbindung aufzubauen"}},
    {{kSshButton, GadgetKind::Button, 145, 10, 55, 20, "SSH", 0,
      "Direkt eine SSH-Verbindung zum links angegebenen Host aufbauen (Rechtsklick: SSH mit "
      "angegebener Putty-Vorlage"},
     kClicked,
     &MainWindow::OnSsh,
     kRightClicked,
     &MainWindow::OnSshWithTemplate},
    {{kTelnetButton, GadgetKind::Button, 205, 10, 55, 20, "Telnet", 0,
      "Direkt eine Telnet-Verbindung zum links angegebenen Host aufbauen"},
     kClicked,
     &MainWindow::OnTelnet},
};

// What the gadgets need below the menu bar: the rightmost one and a margin beside and
// below it.
constexpr int kGadgetsWidth = 205 + 55 + 5;
constexpr int kGadgetsHeight = 10 + 20 + 10;

void WriteNumber(const char* valueName, int value) {
    RegistryWrite(ProgramKey, valueName, FormatDecimal(value), kRegSz, ".");
}

// The frame around a client area of nothing, without a menu bar.
SIZE FrameSize(UINT dpi) {
    RECT rect{0, 0, 0, 0};
    AdjustWindowRectExForDpi(&rect, kStyle, FALSE, 0, dpi);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace

MainWindow::MainWindow(const WindowEnv& env, MainWindowHost& host, HICON trayImage)
    : RowWindow(env), host_(host), trayImage_(trayImage) {}

std::span<const GadgetRow<MainWindow>> MainWindow::Rows() {
    return kRows;
}

bool MainWindow::Open(const Settings& s, SessionMenu menus) {
    // A monitor may have gone since the geometry was stored: never open off-screen. The
    // stored size is at 96 dpi, the position in screen pixels.
    POINT corner{s.FensterpositionX, s.FensterpositionY};
    const SIZE guess = OuterSizeForClient(kStyle, 0, std::clamp(s.Fensterbreite, 1, 10000),
                                          std::clamp(s.Fensterhoehe, 1, 10000), 96);
    const RECT placed{corner.x, corner.y, corner.x + guess.cx, corner.y + guess.cy};
    if (MonitorFromRect(&placed, MONITOR_DEFAULTTONULL) == nullptr) {
        corner = {10, 10};
    }
    const std::string title =
        "Quarnel V. " QUARNEL_VERSION_TEXT " - PuTTY-Sitzungen mit einem Klick";
    // Made hidden where it is to stand, so that it knows its monitor's resolution; shown
    // once it has its menu bar and the size that holds its controls below the bar.
    if (!TopWindow::Open(kClassName, title, kStyle, 0, {corner, guess})) {
        return false;
    }
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    PutMenus(std::move(menus));
    Fit(s.Fensterbreite, s.Fensterhoehe);
    CreateGadgets();
    AddToolTips();
    ShowWindow(Handle(), SW_SHOWNORMAL);
    return true;
}

void MainWindow::SetMenus(SessionMenu menus) {
    // Never under the user: an open menu keeps what it shows until it closes.
    if (menuOpen_) {
        pendingMenus_ = std::move(menus);
        return;
    }
    PutMenus(std::move(menus));
    // The bar may wrap to another number of rows: the controls stay below it.
    RECT outer{};
    GetWindowRect(Handle(), &outer);
    const UINT dpi = WindowDpi(Handle());
    const SIZE frame = FrameSize(dpi);
    Fit(MulDiv(outer.right - outer.left - frame.cx, 96, static_cast<int>(dpi)),
        MulDiv(outer.bottom - outer.top - frame.cy, 96, static_cast<int>(dpi)));
}

void MainWindow::PutMenus(SessionMenu menus) {
    const HMENU old = GetMenu(Handle());
    if (HMENU bar = CreateMenu()) {
        BuildSessionMenu(bar, menus.titles);
        SetMenu(Handle(), bar);
        if (old != nullptr) {
            DestroyMenu(old);
        }
    }
    popup_.reset(CreatePopupMenu());
    if (popup_) {
        BuildSessionMenu(popup_.get(), menus.titles);
    }
    // The items' numbers mean these sessions from now on, and only now.
    menuItemSessions_ = std::move(menus.menuItemSessions);
}

void MainWindow::Fit(int storedWidth, int storedHeight) {
    const HWND window = Handle();
    const UINT dpi = WindowDpi(window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const SIZE frame = FrameSize(dpi);
    const int roomWidth = work.right - work.left - frame.cx;
    const int roomHeight = work.bottom - work.top - frame.cy;
    // Cut to the screen before scaling, so that no stored number can overflow.
    const auto scaled = [dpi](int at96, int room) {
        return std::min(ScaleForDpi(std::clamp(at96, 0, 100000), dpi), room);
    };
    const int neededWidth = ScaleForDpi(kGadgetsWidth, dpi);
    const int neededBelowBar = ScaleForDpi(kGadgetsHeight, dpi);
    int width = std::max(neededWidth, scaled(storedWidth, roomWidth));
    // The bar wraps by the width; it is measured with room to spare, as it stands.
    const auto barHeight = [&] {
        SetWindowPos(window, nullptr, 0, 0, width + frame.cx, roomHeight + frame.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT client{};
        GetClientRect(window, &client);
        return roomHeight - client.bottom;
    };
    int bar = barHeight();
    if (bar + neededBelowBar > roomHeight && width < roomWidth) {
        width = roomWidth; // fewer rows of menu bar
        bar = barHeight();
    }
    // The stored height counts every row of the bar; the controls win over the screen.
    const int height = std::max(bar + neededBelowBar, scaled(storedHeight, roomHeight));
    RECT outer{};
    GetWindowRect(window, &outer);
    const int outerWidth = width + frame.cx;
    const int outerHeight = height + frame.cy;
    const int x = std::max<int>(work.left, std::min<int>(outer.left, work.right - outerWidth));
    const int y = std::max<int>(work.top, std::min<int>(outer.top, work.bottom - outerHeight));
    SetWindowPos(window, nullptr, x, y, outerWidth, outerHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::OnSsh() {
    host_.Connect(StartKind::Ssh, HostText());
}

void MainWindow::OnSshWithTemplate() {
    host_.Connect(StartKind::SshWithTemplate, HostText());
}

void MainWindow::OnTelnet() {
    host_.Connect(StartKind::Telnet, HostText());
}

void MainWindow::OnMenu(int item) {
    switch (item) {
    case kReturnShortcut:
        host_.Connect(StartKind::Ssh, HostText());
        return;
    case kQuickSearchShortcut:
        host_.OpenQuickSearch();
        return;
    case kPuttySettingsItem:
        host_.StartPuttyAlone();
        return;
    case kConfigureItem:
        host_.OpenConfigWindow();
        return;
    case kAboutItem:
        host_.OpenInformationWindow();
        return;
    case kQuitItem:
        host_.Quit();
        return;
    default:
        break;
    }
    const size_t index = static_cast<size_t>(item - kFirstSessionItem);
    if (item >= kFirstSessionItem && index < menuItemSessions_.size()) {
        // A copy: what the start does may change the menus.
        const std::string keyName = menuItemSessions_[index];
        host_.StartSession(keyName);
    }
}

void MainWindow::OnCloseRequest() {
    host_.Quit();
}

std::wstring MainWindow::HostText() const {
    return WideGadgetText(Handle(), kHostField);
}

bool MainWindow::Modal() const {
    return !IsWindowEnabled(Handle());
}

void MainWindow::OnTray(int event, POINT anchor) {
    // A message box or the file requester has disabled the main window; its icon waits
    // with it, as the handler that opened them has not ended.
    if (Modal()) {
        return;
    }
    switch (event) {
    case WM_LBUTTONDBLCLK:
        // The second click of a double click selects once more: it must not toggle back.
        selectsToSkip_ = 1;
        break;
    case NIN_SELECT:
    case NIN_KEYSELECT:
        if (selectsToSkip_ > 0) {
            --selectsToSkip_;
        } else if (shown_) {
            HideToTray();
        } else {
            ShowFromTray();
        }
        break;
    case WM_CONTEXTMENU:
        ShowTrayMenu(anchor);
        break;
    default:
        break;
    }
}

void MainWindow::FocusHostField() const {
    SetFocus(GetDlgItem(Handle(), kHostField));
}

void MainWindow::InstallShortcuts(bool withReturn) {
    ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'F', kQuickSearchShortcut},
                    {FVIRTKEY, VK_RETURN, kReturnShortcut}};
    shortcuts_.reset(CreateAcceleratorTableW(keys, withReturn ? 2 : 1));
}

bool MainWindow::TranslateShortcuts(MSG& message) const {
    const HWND main = Handle();
    if (!shortcuts_ || main == nullptr || GetActiveWindow() != main ||
        (message.hwnd != main && !IsChild(main, message.hwnd))) {
        return false;
    }
    return TranslateAcceleratorW(main, shortcuts_.get(), &message) != 0;
}

bool MainWindow::RegisterQuickSearchHotkey(unsigned modifiers, unsigned virtualKey) const {
    return RegisterHotKey(Handle(), 1, modifiers | MOD_NOREPEAT, virtualKey) != FALSE;
}

void MainWindow::AddTrayIcon() {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = Handle();
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = trayImage_;
    lstrcpynW(data.szTip, L"Quarnel", static_cast<int>(std::size(data.szTip)));
    trayIconAdded_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE || trayIconAdded_;
    // The protocol of today's shells: select and context menu by mouse and keyboard
    // alike, with the place the menu belongs at. An older shell keeps the mouse messages.
    data.uVersion = NOTIFYICON_VERSION_4;
    trayVersion4_ = trayIconAdded_ && Shell_NotifyIconW(NIM_SETVERSION, &data) != FALSE;
}

void MainWindow::RemoveTrayIcon() {
    if (!trayIconAdded_ || Handle() == nullptr) {
        return;
    }
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = Handle();
    data.uID = kTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    trayIconAdded_ = false;
}

void MainWindow::ShowTrayMenu(POINT anchor) {
    SetForegroundWindow(Handle());
    const UINT align = GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    TrackPopupMenu(popup_.get(), align | TPM_TOPALIGN | TPM_RIGHTBUTTON, anchor.x, anchor.y, 0,
                   Handle(), nullptr);
    // Lets the menu close properly when the user clicks elsewhere.
    PostMessageW(Handle(), WM_NULL, 0, 0);
}

void MainWindow::SaveGeometry() const {
    const HWND window = Handle();
    if (!shown_ || window == nullptr) {
        return;
    }
    SetForegroundWindow(window);
    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    const UINT dpi = WindowDpi(window);
    // The menu bar as high as it really is, all its rows: the window then opens the same
    // size at the next start even when the bar wraps.
    const SIZE frame = FrameSize(dpi);
    const int height = (outer.bottom - outer.top) - frame.cy;
    WriteNumber("FensterpositionX", outer.left);
    WriteNumber("FensterpositionY", outer.top);
    // The size as it is read: at 96 dpi.
    WriteNumber("Fensterbreite", MulDiv(client.right - client.left, 96, static_cast<int>(dpi)));
    WriteNumber("Fensterhoehe", MulDiv(height, 96, static_cast<int>(dpi)));
}

void MainWindow::HideAtOnce() {
    ShowWindow(Handle(), SW_HIDE);
    shown_ = false;
}

void MainWindow::HideToTray() {
    SaveGeometry();
    HideAtOnce();
}

void MainWindow::ShowFromTray() {
    ShowWindow(Handle(), IsIconic(Handle()) ? SW_RESTORE : SW_SHOWNORMAL);
    SetForegroundWindow(Handle());
    shown_ = true;
    FocusHostField();
    SetGadgetText(Handle(), kHostField, "");
}

void MainWindow::ShowAndSaveGeometry() {
    ShowWindow(Handle(), IsIconic(Handle()) ? SW_RESTORE : SW_SHOWNORMAL);
    SetForegroundWindow(Handle());
    shown_ = true;
    SaveGeometry();
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kTrayCallbackMessage:
        if (trayVersion4_ && HIWORD(lParam) == kTrayIconId) {
            OnTray(LOWORD(lParam), {GET_X_LPARAM(wParam), GET_Y_LPARAM(wParam)});
        } else if (!trayVersion4_ && wParam == kTrayIconId) {
            const int mouse = static_cast<int>(lParam);
            POINT cursor{};
            GetCursorPos(&cursor);
            OnTray(mouse == WM_LBUTTONUP   ? NIN_SELECT
                   : mouse == WM_RBUTTONUP ? WM_CONTEXTMENU
                                           : mouse,
                   cursor);
        }
        return 0;
    case WM_HOTKEY:
        if (!Modal() && !menuOpen_) {
            host_.OpenQuickSearch();
        }
        return 0;
    case DM_GETDEFID:
        return 0; // Return belongs to the shortcut: SSH, or nothing on a first run
    case WM_ENTERMENULOOP:
        menuOpen_ = true;
        break;
    case WM_EXITMENULOOP:
        menuOpen_ = false;
        if (pendingMenus_) {
            // After the loop has ended: its menu is still in use until then.
            PostMessageW(Handle(), kPendingMenusMessage, 0, 0);
        }
        break;
    case kCatalogueChangedMessage:
        host_.CatalogueChanged();
        return 0;
    case kPendingMenusMessage:
        if (pendingMenus_ && !menuOpen_) {
            SetMenus(*std::exchange(pendingMenus_, std::nullopt));
        }
        return 0;
    case WM_DESTROY:
        RemoveTrayIcon();
        break;
    case WM_SIZE:
        // A minimised main window vanishes into the tray at once, geometry unsaved.
        if (wParam == SIZE_MINIMIZED && shown_) {
            HideAtOnce();
            return 0;
        }
        break;
    default:
        // The shell was restarted: its new tray knows nothing of our icon.
        if (message != 0 && message == taskbarCreated_) {
            trayIconAdded_ = false;
            AddTrayIcon();
            return 0;
        }
        break;
    }
    return TopWindow::OnMessage(message, wParam, lParam);
}

} // namespace quarnel
