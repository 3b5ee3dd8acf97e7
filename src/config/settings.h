// The settings store: the values under the program's own registry key, how each is
// read with its default, and the in-memory record they are loaded into. FlagFromNumber is
// window-free (setting_values.cpp).
#pragma once

#include <cstdint>
#include <string>

namespace quarnel {

// The program's own key (with its trailing backslash) and the Run keys of autostart.
inline const std::string ProgramKey =
    "HKEY_CURRENT_USER\\Software\\SimonTatham\\PuTTY\\UlvasQuarnel\\";
inline const std::string MachineRunKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::string UserRunKey =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::string AutostartValueName = "UlvasQuarnel";

// One field per value of the program key, named like the value. Flags are on when
// their byte is not 0.
struct Settings {
    std::string PuttyPfad;
    int8_t NachPuttyStartBeenden = 0;
    int8_t NachPuttyStartMinimieren = 0;
    int8_t Startminimized = 0;
    int8_t Passwortfunktionalitaet = 0;
    std::string SSHSessionVorlage = "Default Settings";
    int32_t FensterpositionX = 10;
    int32_t FensterpositionY = 10;
    int32_t Fensterbreite = 500;
    int32_t Fensterhoehe = 60;
    bool Autostart = false; // probed from the Run key, not stored in the program key
};

// The named value of the program key; its default when that reads as the empty text.
std::string LoadSettingString(const std::string& valueName, const std::string& defaultText);

// The named value as a decimal number (see ParseDecimal); the default when it is 0.
int32_t LoadSettingNumber(const std::string& valueName, int32_t defaultNumber);

// A flag takes the low 8 bits of the number read (a stored "256" is off).
int8_t FlagFromNumber(int32_t number);

// Fills the whole record from the program key, in the order the settings have always
// been read; `startDirectory` gives the default PuTTY path. Autostart is probed too.
Settings LoadSettings(const std::wstring& startDirectory);

// Whether the autostart value stands in the machine's or the user's Run key.
bool ProbeAutostart();

} // namespace quarnel
