#include "app/events.h"

#include "app/info_window.h"
#include "config/config_window.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/tray.h"
#include "sessions/launcher.h"
#include "sessions/session_menu.h"

namespace quarnel {

namespace {

void DispatchGadget(const Event& event) {
    if (IsConfigGadget(event.number)) {
        HandleConfigEvent(event);
        return;
    }
    switch (event.number) {
    case kSshButton:
        if (event.action == kClicked) {
            LaunchDirect(DirectKind::Ssh);
        } else if (event.action == kRightClicked) {
            LaunchDirect(DirectKind::SshWithTemplate);
        }
        break;
    case kTelnetButton:
        if (event.action == kClicked) {
            LaunchDirect(DirectKind::Telnet);
        }
        break;
    case kInfoOkButton:
        if (event.action == kClicked) {
            CloseInformationWindow();
        }
        break;
    default:
        break;
    }
}

void DispatchMenu(const Event& event) {
    const int item = event.number;
    if (item == kReturnShortcut) {
        LaunchDirect(DirectKind::Ssh);
    } else if (item >= kFirstSessionItem) {
        LaunchSession(item);
    } else if (item == kQuitItem) {
        QuitProgram();
    } else if (item == kPuttySettingsItem) {
        LaunchPuttyAlone();
    } else if (item == kConfigureItem) {
        OpenConfigWindow();
    } else if (item == kAboutItem) {
        OpenInformationWindow();
    }
}

void DispatchTray(const Event& event) {
    if (event.number != static_cast<int>(kTrayIconId)) {
        return;
    }
    // A message box or the file requester has disabled the main window; its icon waits
    // with it, as the handler that opened them has not ended.
    if (!IsWindowEnabled(MainWindowHandle())) {
        return;
    }
    if (event.action == WM_LBUTTONUP) {
        if (TheProgram().mainWindowVisible) {
            HideToTray();
        } else {
            ShowFromTray();
        }
    } else if (event.action == WM_RBUTTONUP) {
        ShowTrayMenu();
    }
}

void DispatchClose(const Event& event) {
    switch (event.window) {
    case kMainWindow:
        QuitProgram();
    case kInfoWindow:
        CloseInformationWindow();
        break;
    case kConfigWindow:
        HandleConfigEvent(event);
        break;
    default:
        break;
    }
}

// The window that should see Tab and Shift+Tab like a dialog.
bool HandleDialogKeys(MSG& message) {
    const HWND top = GetAncestor(message.hwnd, GA_ROOT);
    if (top == nullptr) {
        return false;
    }
    const bool isReturn = (message.message == WM_KEYDOWN || message.message == WM_KEYUP ||
                           message.message == WM_CHAR) &&
                          (message.wParam == VK_RETURN || message.wParam == '\r');
    // Return acts only through the main window's shortcut; the other windows of the
    // shell have no default button.
    if (isReturn && (top == MainWindowHandle() || top == InformationWindowHandle())) {
        return true;
    }
    if (top == MainWindowHandle() || top == InformationWindowHandle() ||
        top == ConfigWindowHandle()) {
        return IsDialogMessageW(top, &message) != 0;
    }
    return false;
}

} // namespace

void DispatchCommand(int window, WPARAM wParam, LPARAM lParam) {
    if (QuietChanges::Active()) {
        return;
    }
    Event event;
    event.window = window;
    event.number = LOWORD(wParam);
    if (lParam != 0) {
        event.kind = EventKind::Gadget;
        event.action = HIWORD(wParam);
    } else {
        event.kind = EventKind::Menu; // a menu item, or the Return shortcut
    }
    DispatchEvent(event);
}

bool ForwardWindowEvent(int window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        DispatchCommand(window, wParam, lParam);
        return true;
    }
    if (message == WM_CLOSE) {
        Event event;
        event.kind = EventKind::Close;
        event.window = window;
        DispatchEvent(event);
        return true;
    }
    return false;
}

void DispatchEvent(const Event& event) {
    switch (event.kind) {
    case EventKind::Gadget:
        DispatchGadget(event);
        return;
    case EventKind::Menu:
        DispatchMenu(event);
        return;
    case EventKind::Tray:
        DispatchTray(event);
        return;
    default:
        break;
    }
    // A minimised main window vanishes into the tray at once.
    const HWND main = MainWindowHandle();
    if (main != nullptr && IsIconic(main) && TheProgram().mainWindowVisible) {
        HideMinimizedToTray();
        return;
    }
    if (event.kind == EventKind::Close) {
        DispatchClose(event);
    }
}

void RunEventLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TranslateReturnShortcut(message) || HandleDialogKeys(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // Only QuitProgram ends the program; a WM_QUIT from elsewhere ends it the same way.
    QuitProgram();
}

} // namespace quarnel
