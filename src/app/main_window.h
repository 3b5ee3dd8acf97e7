// The main window (window 1): menu bar, host field, SSH and Telnet buttons; the tray
// icon with its popup menu; and the way the program ends.
#pragma once

#include <windows.h>

namespace quarnel {

enum MainGadget : int {
    kHostField = 24,
    kSshButton = 25,
    kTelnetButton = 26,
};

HWND MainWindowHandle();

// Opens the main window with its menu bar, gadgets and the tray popup menu.
void OpenMainWindow();

// The Return key of the active main window reports menu event 111 from now on.
void InstallReturnShortcut();
// Translates the Return key when the shortcut is installed and the main window is active.
bool TranslateReturnShortcut(MSG& message);

void AddTrayIcon();
void ShowTrayMenu();

void SaveWindowGeometry();
void HideToTray();
// Hides a minimised main window at once, without storing its geometry.
void HideMinimizedToTray();
void ShowFromTray();
// Shows the main window, also from the tray, and stores its geometry: the first steps of
// ending the program.
void ShowAndSaveGeometry();
[[noreturn]] void QuitProgram();

} // namespace quarnel
