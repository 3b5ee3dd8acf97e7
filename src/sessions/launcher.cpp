#include "sessions/launcher.h"

#include "app/controls.h"
#include "app/main_window.h"
#include "app/program.h"
#include "sessions/launch_params.h"
#include "sessions/putty_process.h"
#include "sessions/session_menu.h"
#include "vault/password_lookup.h"
#include "win/message_box.h"

namespace quarnel {

bool LaunchPutty(const std::string& parameters, const std::string& workingFolder) {
    const std::string& puttyPath = TheProgram().settings.PuttyPfad;
    return StartPuttyProcess(puttyPath, parameters,
                             workingFolder.empty() ? PuttyFolder(puttyPath) : workingFolder);
}

void LaunchSession(int item) {
    Program& program = TheProgram();
    const size_t index = static_cast<size_t>(item - kFirstSessionItem);
    if (item < kFirstSessionItem || index >= program.catalogue.menuItemSessions.size()) {
        return;
    }
    const std::string& keyName = program.catalogue.menuItemSessions[index];
    std::optional<std::string> password = LookupSessionPassword(
        keyName, program.settings.Passwortfunktionalitaet != 0, program.masterPassword);
    if (password && !IsPasswordUsable(*password)) {
        password.reset(); // deciphered under a wrong master password: let PuTTY ask
    }
    if (!LaunchPutty(SessionParameters(keyName, password), program.startDirectory)) {
        ShowMessage("Fehler", "Das ging schief");
        return;
    }
    AfterLaunch();
}

void LaunchDirect(DirectKind kind) {
    const std::string host = GadgetText(MainWindowHandle(), kHostField);
    std::string parameters;
    switch (kind) {
    case DirectKind::Ssh:
        parameters = SshParameters(host);
        break;
    case DirectKind::SshWithTemplate:
        parameters = TemplateSshParameters(TheProgram().settings.SSHSessionVorlage, host);
        break;
    case DirectKind::Telnet:
        parameters = TelnetParameters(host);
        break;
    }
    LaunchPutty(parameters, "");
    AfterLaunch();
}

void LaunchPuttyAlone() {
    LaunchPutty("", ".");
    AfterLaunch();
}

void AfterLaunch() {
    const Settings& s = TheProgram().settings;
    if (s.NachPuttyStartBeenden) {
        QuitProgram();
    }
    if (s.NachPuttyStartMinimieren) {
        HideToTray();
    }
}

} // namespace quarnel
