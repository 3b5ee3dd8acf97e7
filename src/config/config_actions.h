// What the controls of the configuration window do. The handlers read and set the
// window's controls; the registry work that needs no window is offered on its own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quarnel {

// Whether the file exists and can be opened for reading; a folder does not count.
bool IsReadableFile(const std::string& path);

// The running program's own full file name.
std::string ProgramFileName();

// Writes (on) or removes (off) the autostart value. The machine-wide Run key needs
// rights the program may lack, so a write that does not show up there goes to the
// user's Run key; removing clears both. The result is whether the value stands in
// either key afterwards.
bool SwitchAutostart(bool on, const std::string& runValue);

// Every registry entry the program made: per session its menu and password values,
// the autostart value in both Run keys, then the program key.
void RemoveProgramEntries(const std::vector<std::string>& allSessions);

// Handlers, one per control event that acts.
void OnSessionChosen(HWND window);
void OnSave(HWND window);
void OnDeletePassword(HWND window);
void OnDeleteAllPasswords();
void OnPasswordFunction(HWND window);
void OnGeneralOption(HWND window, int gadget);
void OnAutostart(HWND window);
void OnPathEdited(HWND window);
void OnBrowse(HWND window);
void OnTemplateChosen(HWND window);
void OnDeleteMenu(HWND window);
void OnDeleteAllMenus();
[[noreturn]] void OnRestart();
void OnUninstall();

} // namespace quarnel
