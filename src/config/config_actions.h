// The registry work behind the configuration window's controls, apart from the window.
#pragma once

#include <string>

namespace quarnel {

// Writes (on) or removes (off) the autostart value: the program file in double quotes. The
// machine-wide Run key needs rights the program may lack, so a write that does not show up there
// goes to the user's Run key; removing clears both. The result is whether the value stands in
// either key afterwards.
bool SwitchAutostart(bool on, const std::wstring& programFile);

// Every registry entry the program made: the menu and password values of every session
// PuTTY has now, the autostart value in both Run keys, then the program key with all
// that lies below it. True when nothing of it is left.
bool RemoveProgramEntries();

// Deletes the value from the key of every session PuTTY has now.
void DeleteFromEverySession(const std::string& valueName);

} // namespace quarnel
