#include "app/main_window.h"

#include "app/controls.h"
#include "app/events.h"
#include "app/program.h"
#include "app/tray.h"
#include "app/resource_ids.h"
#include "registry/registry.h"
#include "registry/value_text.h"
#include "sessions/build_session_menu.h"
#include "version.h"
#include "win/handles.h"
#include "win/text.h"

#include <shellapi.h>

namespace quarnel {

namespace {

constexpr wchar_t kClassName[] = L"QuarnelMainWindow";
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME;

struct MainWindow {
    HWND window = nullptr;
    UniqueMenu popup; // the tray popup; the menu bar belongs to the window
    HACCEL returnShortcut = nullptr;
    UINT taskbarCreated = 0;
};

MainWindow mainWindow;

const GadgetSpec kGadgets[] = {
    {kHostField, GadgetKind::TextField, 5, 10, 135, 20, ""},
    {kSshButton, GadgetKind::Button, 145, 10, 55, 20, "SSH"},
    {kTelnetButton, GadgetKind::Button, 205, 10, 55, 20, "Telnet"},
};

const char* const kToolTips[] = {
    "IP oder Hostnamen angeben, um direkt eine SSH bzw. Telnet Verbindung aufzubauen",
    "Direkt eine SSH-Verbindung zum links angegebenen Host aufbauen (Rechtsklick: SSH mit "
    "angegebener Putty-Vorlage",
    "Direkt eine Telnet-Verbindung zum links angegebenen Host aufbauen",
};

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (ForwardWindowEvent(kMainWindow, message, wParam, lParam)) {
        return 0;
    }
    switch (message) {
    case kTrayCallbackMessage: {
        Event event;
        event.kind = EventKind::Tray;
        event.window = kMainWindow;
        event.number = static_cast<int>(wParam);
        event.action = static_cast<int>(LOWORD(lParam));
        DispatchEvent(event);
        return 0;
    }
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) {
            Event event;
            event.window = kMainWindow;
            DispatchEvent(event);
        }
        break;
    case WM_DPICHANGED:
        FollowDpiChange(window, wParam, lParam, kGadgets);
        return 0;
    default:
        // The shell was restarted: its new tray knows nothing of our icon.
        if (message != 0 && message == mainWindow.taskbarCreated) {
            AddTrayIcon();
            return 0;
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void WriteNumber(const char* valueName, int value) {
    RegistryWrite(ProgramKey, valueName, FormatDecimal(value), kRegSz, ".");
}

} // namespace

HWND MainWindowHandle() {
    return mainWindow.window;
}

void OpenMainWindow() {
    Program& program = TheProgram();
    RegisterWindowClass(kClassName, MainWindowProc);
    const Settings& s = program.settings;
    // The stored size is the client area without the menu bar's frame share: the menu
    // bar takes its height from the client area once attached. Like the gadgets it is
    // given at 96 dpi, so that it fits them on any monitor; the position is in screen
    // pixels.
    POINT corner{s.FensterpositionX, s.FensterpositionY};
    const SIZE at96 = OuterSizeForClient(kStyle, 0, s.Fensterbreite, s.Fensterhoehe, 96);
    const RECT placed{corner.x, corner.y, corner.x + at96.cx, corner.y + at96.cy};
    // A monitor may have gone since the geometry was stored: never open off-screen.
    if (MonitorFromRect(&placed, MONITOR_DEFAULTTONULL) == nullptr) {
        corner = {10, 10};
    }
    SIZE outer = OuterSizeForClient(kStyle, 0, s.Fensterbreite, s.Fensterhoehe, GetDpiForSystem());
    const std::string title =
        "Quarnel V. " QUARNEL_VERSION_TEXT " - PuTTY-Sitzungen mit einem Klick";
    mainWindow.window =
        CreateWindowExW(0, kClassName, Widen(title).c_str(), kStyle | WS_VISIBLE, corner.x,
                        corner.y, outer.cx, outer.cy, nullptr, nullptr, program.instance, nullptr);
    if (mainWindow.window == nullptr) {
        return;
    }
    SetWindowLongPtrW(mainWindow.window, GWLP_USERDATA, kMainWindow);
    // Only the window itself knows the resolution of the monitor it landed on.
    const UINT dpi = WindowDpi(mainWindow.window);
    if (dpi != GetDpiForSystem()) {
        outer = OuterSizeForClient(kStyle, 0, s.Fensterbreite, s.Fensterhoehe, dpi);
        SetWindowPos(mainWindow.window, nullptr, 0, 0, outer.cx, outer.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    mainWindow.taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");

    program.menuLayout = LayoutSessionMenu(program.catalogue);
    if (HMENU bar = CreateMenu()) {
        BuildSessionMenu(bar, program.menuLayout);
        SetMenu(mainWindow.window, bar);
    }
    for (size_t i = 0; i < std::size(kGadgets); ++i) {
        if (HWND gadget = CreateGadget(mainWindow.window, kGadgets[i])) {
            AddToolTip(gadget, kToolTips[i]);
        }
    }
    mainWindow.popup.reset(CreatePopupMenu());
    if (mainWindow.popup) {
        BuildSessionMenu(mainWindow.popup.get(), program.menuLayout);
    }
}

void InstallReturnShortcut() {
    ACCEL accel{FVIRTKEY, VK_RETURN, kReturnShortcut};
    mainWindow.returnShortcut = CreateAcceleratorTableW(&accel, 1);
}

bool TranslateReturnShortcut(MSG& message) {
    const HWND main = mainWindow.window;
    if (mainWindow.returnShortcut == nullptr || main == nullptr || GetActiveWindow() != main ||
        (message.hwnd != main && !IsChild(main, message.hwnd))) {
        return false;
    }
    return TranslateAcceleratorW(main, mainWindow.returnShortcut, &message) != 0;
}

void AddTrayIcon() {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = mainWindow.window;
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = TheProgram().trayImage.get();
    lstrcpynW(data.szTip, L"Quarnel", static_cast<int>(std::size(data.szTip)));
    Shell_NotifyIconW(NIM_ADD, &data);
}

void ShowTrayMenu() {
    SetForegroundWindow(mainWindow.window);
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(mainWindow.popup.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                   cursor.x - 1, cursor.y - 1, 0, mainWindow.window, nullptr);
    // Lets the menu close properly when the user clicks elsewhere.
    PostMessageW(mainWindow.window, WM_NULL, 0, 0);
}

void SaveWindowGeometry() {
    if (!TheProgram().mainWindowVisible || mainWindow.window == nullptr) {
        return;
    }
    SetForegroundWindow(mainWindow.window);
    RECT outer{};
    RECT client{};
    GetWindowRect(mainWindow.window, &outer);
    GetClientRect(mainWindow.window, &client);
    const UINT dpi = WindowDpi(mainWindow.window);
    int height = client.bottom - client.top;
    if (GetMenu(mainWindow.window) != nullptr) {
        height += GetSystemMetricsForDpi(SM_CYMENU, dpi); // one line, even when the bar wraps
    }
    WriteNumber("FensterpositionX", outer.left);
    WriteNumber("FensterpositionY", outer.top);
    // The size as it is read: at 96 dpi.
    WriteNumber("Fensterbreite", MulDiv(client.right - client.left, 96, static_cast<int>(dpi)));
    WriteNumber("Fensterhoehe", MulDiv(height, 96, static_cast<int>(dpi)));
}

void HideToTray() {
    SaveWindowGeometry();
    HideMinimizedToTray();
}

void HideMinimizedToTray() {
    ShowWindow(mainWindow.window, SW_HIDE);
    TheProgram().mainWindowVisible = false;
}

void ShowFromTray() {
    ShowWindow(mainWindow.window, IsIconic(mainWindow.window) ? SW_RESTORE : SW_SHOWNORMAL);
    SetForegroundWindow(mainWindow.window);
    TheProgram().mainWindowVisible = true;
    SetFocus(GetDlgItem(mainWindow.window, kHostField));
    SetGadgetText(mainWindow.window, kHostField, "");
}

void ShowAndSaveGeometry() {
    ShowWindow(mainWindow.window, IsIconic(mainWindow.window) ? SW_RESTORE : SW_SHOWNORMAL);
    SetForegroundWindow(mainWindow.window);
    TheProgram().mainWindowVisible = true;
    SaveWindowGeometry();
}

void QuitProgram() {
    ShowAndSaveGeometry();

    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = mainWindow.window;
    data.uID = kTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            DestroyWindow(window);
            return TRUE;
        },
        0);
    ExitProcess(0);
}

} // namespace quarnel
