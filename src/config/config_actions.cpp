#include "config/config_actions.h"

#include "config/settings.h"
#include "registry/registry.h"
#include "sessions/catalogue.h"

namespace quarnel {

bool SwitchAutostart(bool on, const std::string& runValue) {
    if (on) {
        // RegistryWrite only says that the key opened; the probe tells whether it took.
        RegistryWrite(MachineRunKey, AutostartValueName, runValue, kRegSz, ".");
        if (RegistryProbe(MachineRunKey, AutostartValueName, ".") == 0) {
            RegistryCreateKey(UserRunKey, ".");
            RegistryWrite(UserRunKey, AutostartValueName, runValue, kRegSz, ".");
        }
    } else {
        RegistryDeleteValue(MachineRunKey, AutostartValueName, ".");
        RegistryDeleteValue(UserRunKey, AutostartValueName, ".");
    }
    return ProbeAutostart();
}

void DeleteFromEverySession(const std::vector<std::string>& allSessions,
                            const std::string& valueName) {
    for (const std::string& keyName : allSessions) {
        RegistryDeleteValue(SessionsKey + keyName, valueName, ".");
    }
}

void RemoveProgramEntries(const std::vector<std::string>& allSessions) {
    for (const std::string& keyName : allSessions) {
        const std::string key = SessionsKey + keyName;
        RegistryDeleteValue(key, MenuValueName, ".");
        RegistryDeleteValue(key, PasswordValueName, ".");
    }
    RegistryDeleteValue(MachineRunKey, AutostartValueName, ".");
    RegistryDeleteValue(UserRunKey, AutostartValueName, ".");
    RegistryDeleteKey(ProgramKey, ".");
}

} // namespace quarnel
