#include "config/settings.h"

#include "registry/registry.h"
#include "registry/value_text.h"
#include "win/text.h"

namespace quarnel {

std::string LoadSettingString(const std::string& valueName, const std::string& defaultText) {
    std::string text = RegistryRead(ProgramKey, valueName, ".");
    return text.empty() ? defaultText : text;
}

int32_t LoadSettingNumber(const std::string& valueName, int32_t defaultNumber) {
    const int32_t number = ParseDecimal(RegistryRead(ProgramKey, valueName, "."));
    return number == 0 ? defaultNumber : number;
}

Settings LoadSettings(const std::wstring& startDirectory) {
    Settings s;
    // A folder Windows-1252 cannot name gives no default rather than another folder's.
    s.PuttyPfad =
        LoadSettingString("PuttyPfad", NarrowExact(startDirectory + L"\\putty.exe").value_or(""));
    s.NachPuttyStartBeenden = FlagFromNumber(LoadSettingNumber("NachPuttyStartBeenden", 0));
    s.NachPuttyStartMinimieren = FlagFromNumber(LoadSettingNumber("NachPuttyStartMinimieren", 0));
    s.Startminimized = FlagFromNumber(LoadSettingNumber("Startminimized", 0));
    s.Passwortfunktionalitaet = FlagFromNumber(LoadSettingNumber("Passwortfunktionalitaet", 0));
    s.SSHSessionVorlage = LoadSettingString("SSHSessionVorlage", "Default Settings");
    s.FensterpositionX = LoadSettingNumber("FensterpositionX", 10);
    s.FensterpositionY = LoadSettingNumber("FensterpositionY", 10);
    s.Fensterbreite = LoadSettingNumber("Fensterbreite", 500);
    s.Fensterhoehe = LoadSettingNumber("Fensterhoehe", 60);
    s.Autostart = ProbeAutostart();
    return s;
}

bool ProbeAutostart() {
    // Any content counts, also one too long for the probe's buffer (a long program path).
    for (const std::string& runKey : {MachineRunKey, UserRunKey}) {
        if (RegistryProbe(runKey, AutostartValueName, ".") != 0 ||
            RegistryReadWholeText(runKey, AutostartValueName, ".")) {
            return true;
        }
    }
    return false;
}

} // namespace quarnel
