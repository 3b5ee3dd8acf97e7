#include "app/shell.h"

#include "app/startup.h"
#include "app/tray.h"
#include "sessions/launch_params.h"
#include "registry/registry.h"
#include "sessions/launcher.h"
#include "sessions/putty_version.h"
#include "sessions/recent_sessions.h"
#include "vault/password_lookup.h"
#include "win/files.h"
#include "win/message_box.h"
#include "win/text.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

namespace quarnel {

namespace {

constexpr char kFirstRunMessage[] =
    "Das Tool wurde zum Ersten Mal aufgerufen. Daher wurde ein Registry-Key erstellt. \r"
    "Um ihn wieder loszuwerden, einfach den Deinstallieren-Button verwenden.\r\r"
    "Bitte konfigurieren Sie nun zunächst die Einstellungen im folgenden Menü.";
constexpr char kFirstRunWithoutKeyMessage[] =
    "Das Tool wurde zum Ersten Mal aufgerufen. Der Registry-Key für seine Einstellungen konnte "
    "aber nicht erstellt werden: Einstellungen werden in diesem Lauf nicht gespeichert.\r\r"
    "Bitte konfigurieren Sie nun zunächst die Einstellungen im folgenden Menü.";

} // namespace

Shell::Shell(RunState& state)
    : state_(state), env_{state.instance, state.programIcon, state.trayImage.get(),
                          &state.fonts,   &state.toolTips,   this},
      main_(env_, *this, state.trayImage.get()) {}

Shell::~Shell() {
    // The windows go before what they refer to, without telling anybody.
    search_.reset();
    info_.reset();
    config_.reset();
}

void Shell::Open(bool firstRun) {
    main_.Open(state_.settings, LayoutSessionMenu(state_.catalogue));
    if (firstRun) {
        // The welcome says the key was made only where it was.
        ShowMessage("Ulvas Quarnel", RegistryKeyExists(ProgramKey, ".")
                                         ? kFirstRunMessage
                                         : kFirstRunWithoutKeyMessage);
        OpenConfigWindow();
    } else {
        main_.FocusHostField();
    }
    main_.InstallShortcuts(!firstRun);
    const Hotkey& hotkey = state_.quickSearchHotkey;
    if (hotkey.enabled) {
        // Held by another program: no quick search hotkey in this run, and no fuss.
        main_.RegisterQuickSearchHotkey(hotkey.modifiers, hotkey.virtualKey);
    }
    main_.AddTrayIcon();
    main_.MarkShown();
    if (state_.settings.Startminimized) {
        main_.HideToTray();
    }
}

int Shell::Run(bool firstRun) {
    Open(firstRun);
    while (PumpOnce()) {
    }
    return exitCode_;
}

bool Shell::PumpOnce(DWORD timeout) {
    // Messages and the password pipes are waited for together, in this one thread.
    const std::vector<HANDLE> handles = pipes_.WaitHandles();
    MsgWaitForMultipleObjectsEx(static_cast<DWORD>(handles.size()), handles.data(),
                                std::min(timeout, pipes_.MillisecondsToNextDeadline()), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    pipes_.Step();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            exitCode_ = static_cast<int>(message.wParam);
            return false;
        }
        if (!HandleKeys(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        gone_.clear();
    }
    return true;
}

bool Shell::HandleKeys(MSG& message) {
    return main_.TranslateShortcuts(message) || TopWindow::TranslateDialogKeys(message);
}

void Shell::WindowGone(TopWindow& window) {
    if (config_.get() == &window) {
        gone_.push_back(std::move(config_));
    } else if (info_.get() == &window) {
        gone_.push_back(std::move(info_));
    } else if (search_.get() == &window) {
        gone_.push_back(std::move(search_));
    }
}

void Shell::StartSession(const std::string& keyName) {
    std::optional<std::string> password;
    if (!state_.master.withheld) {
        password = LookupSessionPassword(keyName, state_.settings.Passwortfunktionalitaet != 0,
                                         state_.master.password);
    }
    if (password && !IsPasswordUsable(*password)) {
        password.reset(); // deciphered under a wrong master password: let PuTTY ask
    }
    // A PuTTY that reads its password from a file gets it through a pipe that only it
    // may read, so it never stands in the process list. Without the pipe PuTTY asks:
    // the password never falls back onto the command line.
    std::string passwordPart;
    std::unique_ptr<PasswordPipe> pipe;
    const std::string& putty = state_.settings.PuttyPfad;
    if (password) {
        const std::optional<FileVersion> version = ReadFileVersion(putty);
        if (version && ReadsPasswordFile(*version)) {
            pipe = PasswordPipe::Create(*password);
            passwordPart = pipe ? PasswordFilePart(pipe->Path()) : std::string();
        } else {
            passwordPart = PasswordPart(*password);
        }
        SecureZeroMemory(password->data(), password->size());
    }
    std::optional<StartedProcess> started =
        LaunchPutty(putty, SessionLaunch(keyName, passwordPart, state_.startDirectory));
    SecureZeroMemory(passwordPart.data(), passwordPart.size());
    if (!started) {
        ShowMessage("Fehler", "Das ging schief");
        return;
    }
    if (pipe) {
        pipe->ServeTo(std::move(started->process), started->id);
        pipes_.Add(std::move(pipe));
    }
    state_.recentSessions = PushRecentSession(std::move(state_.recentSessions), keyName);
    // Stored only while the program key exists: after the uninstall nothing comes back.
    RegistryWrite(ProgramKey, RecentSessionsValueName, FormatRecentSessions(state_.recentSessions),
                  kRegSz, ".");
    AfterLaunch();
}

void Shell::Connect(DirectKind kind, const std::wstring& host) {
    const LaunchRequest request =
        DirectLaunch(kind, Narrow(host), state_.settings.SSHSessionVorlage);
    if (!LaunchPutty(state_.settings.PuttyPfad, request)) {
        ShowMessage("Fehler", "Das ging schief");
        return;
    }
    AfterLaunch();
}

void Shell::ConnectTo(const std::wstring& host) {
    Connect(DirectKind::Ssh, host);
}

void Shell::StartPuttyAlone() {
    if (!LaunchPutty(state_.settings.PuttyPfad, PuttyAloneLaunch())) {
        ShowMessage("Fehler", "Das ging schief");
        return;
    }
    AfterLaunch();
}

void Shell::AfterLaunch() {
    const Settings& s = state_.settings;
    if (s.NachPuttyStartBeenden) {
        Quit();
    } else if (s.NachPuttyStartMinimieren) {
        main_.HideToTray();
    }
}

void Shell::OpenConfigWindow() {
    if (config_) {
        config_->BringToFront();
        return;
    }
    config_ = std::make_unique<ConfigWindow>(env_, state_.settings, state_.master, state_.catalogue,
                                             static_cast<ConfigHost&>(*this));
    if (!config_->Open()) {
        config_.reset();
    }
}

void Shell::OpenInformationWindow() {
    // There is never more than one: a second choice opens it afresh.
    if (info_) {
        info_->Close();
    }
    info_ = std::make_unique<InfoWindow>(env_);
    if (!info_->Open()) {
        info_.reset();
    }
}

void Shell::OpenQuickSearch() {
    if (search_) {
        search_->Reopen();
        return;
    }
    search_ = std::make_unique<QuickSearchWindow>(
        env_, state_.catalogue, SessionIndices(state_.catalogue.allSessions, state_.recentSessions),
        static_cast<QuickSearchHost&>(*this));
    if (!search_->Open()) {
        search_.reset();
    }
}

void Shell::Quit() {
    main_.ShowAndSaveGeometry();
    // Every window goes at once, the tray icon with the main window; the loop ends.
    for (TopWindow* window :
         {static_cast<TopWindow*>(search_.get()), static_cast<TopWindow*>(info_.get()),
          static_cast<TopWindow*>(config_.get())}) {
        if (window != nullptr) {
            window->Close();
        }
    }
    main_.Close();
    PostQuitMessage(0);
}

void Shell::RestartProgram() {
    const std::wstring file = ProgramFileName();
    std::wstring directory(GetCurrentDirectoryW(0, nullptr), L'\0');
    directory.resize(GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data()));
    // The new copy reads the geometry at its start: store it before it starts.
    main_.ShowAndSaveGeometry();
    // The new copy would otherwise meet this copy's semaphore and end at once.
    state_.semaphore.reset();
    SHELLEXECUTEINFOW start{};
    start.cbSize = sizeof start;
    // This process ends right after the call; the failure is told here, not by the shell.
    start.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    start.lpVerb = L"open";
    start.lpFile = file.c_str();
    start.lpDirectory = directory.c_str();
    start.nShow = SW_SHOWNORMAL;
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        !ShellExecuteExW(&start)) {
        EnsureSingleInstance(state_);
        ShowMessage("Fehler", "Quarnel konnte nicht neu gestartet werden");
        return;
    }
    Quit();
}

} // namespace quarnel
