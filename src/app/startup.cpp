#include "app/startup.h"

#include "app/resource_ids.h"
#include "app/run_state.h"
#include "app/shell.h"
#include "registry/registry.h"
#include "sessions/recent_sessions.h"
#include "sessions/session_name.h"
#include "vault/master_check.h"
#include "vault/password_prompt.h"
#include "win/files.h"

#include <commctrl.h>

namespace quarnel {

bool EnsureSingleInstance(RunState& state) {
    // The file's name alone: copies of one name in other folders see each other.
    std::wstring name = ProgramFileName();
    name = name.substr(name.find_last_of(L'\\') + 1);
    UniqueHandle semaphore(CreateSemaphoreW(nullptr, 0, 1, name.c_str()));
    if (semaphore && GetLastError() == ERROR_ALREADY_EXISTS) {
        return false;
    }
    state.semaphore = std::move(semaphore);
    return true;
}

bool PrepareRun(RunState& state) {
    const HINSTANCE instance = state.instance;
    state.startDirectory = CurrentDirectory();
    state.programFile = ProgramFileName();
    state.programIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUARNEL));
    state.trayImage.reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUARNEL),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0)));
    state.settings = LoadSettings(state.startDirectory);
    if (state.settings.Passwortfunktionalitaet) {
        const WindowEnv env{instance, state.programIcon, state.trayImage.get(), &state.fonts,
                            &state.toolTips};
        // With a check stored, a mistyped master password is caught here; closing the
        // prompt then means no stored password goes to PuTTY at all in this run.
        const std::string check = RegistryRead(ProgramKey, MasterCheckValueName, ".");
        MasterState& master = state.master;
        if (!check.empty() && !ParseMasterCheck(check)) {
            ReportUnreadableCheck(master); // nothing typed now could be checked
            master.withheld = true;
        } else {
            const std::optional<std::string> typed =
                AskMasterPassword(env, [&check](const std::string& candidate) {
                    return CheckMasterPassword(check, candidate) != MasterCheck::Differs;
                });
            master.password = typed.value_or("");
            master.confirmed = typed.has_value();
            master.withheld = !typed && !check.empty();
        }
    }
    state.catalogue = LoadSessionCatalogue();
    state.settings.SSHSessionVorlage =
        TemplateSessionName(state.settings.SSHSessionVorlage, state.catalogue.allSessions);

    state.recentSessions = ParseRecentSessions(
        RegistryRead(ProgramKey, RecentSessionsValueName, "."), state.catalogue.allSessions);
    // A missing value means the default hotkey, an empty one none.
    state.quickSearchHotkey = RegistryProbe(ProgramKey, HotkeyValueName, ".")
                                  ? ParseHotkey(RegistryRead(ProgramKey, HotkeyValueName, "."))
                                  : DefaultHotkey;

    const bool firstRun = !RegistryKeyExists(ProgramKey, ".");
    if (firstRun) {
        RegistryCreateKey(ProgramKey, ".");
    }
    return firstRun;
}

int RunProgram(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    RunState state(instance);
    if (!EnsureSingleInstance(state)) {
        return 0;
    }
    const bool firstRun = PrepareRun(state);
    Shell shell(state);
    return shell.Run(firstRun);
}

} // namespace quarnel
