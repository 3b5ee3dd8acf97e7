#include "config/config_actions.h"

#include "config/settings.h"
#include "registry/registry.h"
#include "sessions/catalogue.h"

namespace quarnel {

namespace {

// RegistryWrite only says that the key opened, and the probe reads no more than 254
// characters: the value is read back whole. One that does not read back as written
// goes again, so that no half-made autostart remains.
bool WriteVerified(const std::string& runKey, const std::wstring& runValue) {
    RegistryWriteWideText(runKey, AutostartValueName, runValue);
    if (RegistryReadWholeWideText(runKey, AutostartValueName) == runValue) {
        return true;
    }
    RegistryDeleteValue(runKey, AutostartValueName, ".");
    return false;
}

// The sessions as they are now, also those saved in PuTTY since the catalogue was read: a
// "delete all" that left a password of a session saved a minute ago would not be one.
std::vector<std::string> CurrentSessionKeys() {
    std::vector<std::string> keys;
    RegistryListSubKeys(
        SessionsKey, MenuValueName,
        [&keys](const std::string& name, uint64_t) {
            keys.push_back(SessionsKey + name);
            return RegistrySubKeyStep::List;
        },
        ".");
    return keys;
}

} // namespace

bool SwitchAutostart(bool on, const std::wstring& programFile) {
    // In double quotes, so that a folder with blanks in its name starts the program and
    // not a prefix of it; the path as the system gave it, whatever its characters.
    const std::wstring runValue = L"\"" + programFile + L"\"";
    if (on) {
        if (!WriteVerified(MachineRunKey, runValue)) {
            RegistryCreateKey(UserRunKey, ".");
            WriteVerified(UserRunKey, runValue);
        }
    } else {
        RegistryDeleteValue(MachineRunKey, AutostartValueName, ".");
        RegistryDeleteValue(UserRunKey, AutostartValueName, ".");
    }
    return ProbeAutostart();
}

void DeleteFromEverySession(const std::string& valueName) {
    for (const std::string& key : CurrentSessionKeys()) {
        RegistryDeleteValue(key, valueName, ".");
    }
}

bool RemoveProgramEntries() {
    const std::vector<std::string> sessions = CurrentSessionKeys();
    for (const std::string& key : sessions) {
        RegistryDeleteValue(key, MenuValueName, ".");
        RegistryDeleteValue(key, PasswordValueName, ".");
    }
    RegistryDeleteValue(MachineRunKey, AutostartValueName, ".");
    RegistryDeleteValue(UserRunKey, AutostartValueName, ".");
    RegistryDeleteTree(ProgramKey, ".");

    bool left = RegistryKeyExists(ProgramKey, ".") != 0 || ProbeAutostart();
    for (const std::string& key : sessions) {
        left = left || RegistryValueExists(key, MenuValueName, ".") ||
               RegistryValueExists(key, PasswordValueName, ".");
    }
    return !left;
}

} // namespace quarnel
