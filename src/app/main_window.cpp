#include "app/main_window.h"

#include "app/geometry.h"
#include "app/tray.h"
#include "registry/registry.h"
#include "registry/value_text.h"
#include "sessions/build_session_menu.h"
#include "version.h"
#include "win/dpi.h"
#include "win/gadgets.h"

#include <shellapi.h>

namespace quarnel {

namespace {

constexpr wchar_t kClassName[] = L"QuarnelMainWindow";
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME;

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
    // The stored size is the client area with the menu bar: the bar takes its height
    // from the client area once attached. Like the gadgets it is given at 96 dpi, so
    // that it fits them on any monitor; the position is in screen pixels.
    POINT corner{s.FensterpositionX, s.FensterpositionY};
    const SIZE at96 = OuterSizeForClient(kStyle, 0, s.Fensterbreite, s.Fensterhoehe, 96);
    const RECT placed{corner.x, corner.y, corner.x + at96.cx, corner.y + at96.cy};
    // A monitor may have gone since the geometry was stored: never open off-screen.
    if (MonitorFromRect(&placed, MONITOR_DEFAULTTONULL) == nullptr) {
        corner = {10, 10};
    }
    // Absurd stored sizes (a bare title bar, far beyond the screen) are kept within what
    // the controls need and what the monitor can show.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint(corner, MONITOR_DEFAULTTONEAREST), &monitor);
    const UINT systemDpi = GetDpiForSystem();
    const SIZE frame = FrameSize(96);
    const ClientSize largest{
        MulDiv(monitor.rcWork.right - monitor.rcWork.left, 96, static_cast<int>(systemDpi)) -
            frame.cx,
        MulDiv(monitor.rcWork.bottom - monitor.rcWork.top, 96, static_cast<int>(systemDpi)) -
            frame.cy};
    const ClientSize needed{kGadgetsWidth, GetSystemMetricsForDpi(SM_CYMENU, 96) + kGadgetsHeight};
    const ClientSize client = ClampClientSize({s.Fensterbreite, s.Fensterhoehe}, needed, largest);

    SIZE outer = OuterSizeForClient(kStyle, 0, client.width, client.height, systemDpi);
    const std::string title =
        "Quarnel V. " QUARNEL_VERSION_TEXT " - PuTTY-Sitzungen mit einem Klick";
    if (!TopWindow::Open(kClassName, title, kStyle | WS_VISIBLE, 0, {corner, outer})) {
        return false;
    }
    // Only the window itself knows the resolution of the monitor it landed on.
    const UINT dpi = WindowDpi(Handle());
    if (dpi != systemDpi) {
        outer = OuterSizeForClient(kStyle, 0, client.width, client.height, dpi);
        SetWindowPos(Handle(), nullptr, 0, 0, outer.cx, outer.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");

    if (HMENU bar = CreateMenu()) {
        BuildSessionMenu(bar, menus.titles);
        SetMenu(Handle(), bar);
    }
    CreateGadgets();
    popup_.reset(CreatePopupMenu());
    if (popup_) {
        BuildSessionMenu(popup_.get(), menus.titles);
    }
    menuItemSessions_ = std::move(menus.menuItemSessions);
    return true;
}

void MainWindow::OnSsh() {
    host_.Connect(DirectKind::Ssh, HostText());
}

void MainWindow::OnSshWithTemplate() {
    host_.Connect(DirectKind::SshWithTemplate, HostText());
}

void MainWindow::OnTelnet() {
    host_.Connect(DirectKind::Telnet, HostText());
}

void MainWindow::OnMenu(int item) {
    switch (item) {
    case kReturnShortcut:
        host_.Connect(DirectKind::Ssh, HostText());
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

void MainWindow::OnTray(int mouseMessage) {
    // A message box or the file requester has disabled the main window; its icon waits
    // with it, as the handler that opened them has not ended.
    if (Modal()) {
        return;
    }
    if (mouseMessage == WM_LBUTTONUP) {
        if (shown_) {
            HideToTray();
        } else {
            ShowFromTray();
        }
    } else if (mouseMessage == WM_RBUTTONUP) {
        ShowTrayMenu();
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
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = trayImage_;
    lstrcpynW(data.szTip, L"Quarnel", static_cast<int>(std::size(data.szTip)));
    trayIconAdded_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE || trayIconAdded_;
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

void MainWindow::ShowTrayMenu() {
    SetForegroundWindow(Handle());
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(popup_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, cursor.x - 1,
                   cursor.y - 1, 0, Handle(), nullptr);
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
        if (wParam == kTrayIconId) {
            OnTray(static_cast<int>(LOWORD(lParam)));
        }
        return 0;
    case WM_HOTKEY:
        if (!Modal()) {
            host_.OpenQuickSearch();
        }
        return 0;
    case DM_GETDEFID:
        return 0; // Return belongs to the shortcut: SSH, or nothing on a first run
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
