// The tray icon's identity, shared by the program and the tests that act as its user.
#pragma once

#include <windows.h>

namespace quarnel {

// Shell_NotifyIcon reports mouse actions on the icon to the main window with this
// message: wParam is the icon number, lParam the mouse message (WM_LBUTTONUP, ...).
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
inline constexpr UINT kTrayIconId = 1;

} // namespace quarnel
