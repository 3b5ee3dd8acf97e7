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

#include <vector>

namespace quarnel {

namespace {

constexpr char kFirstRunMessage[] =
    "Das Tool wurde zum Ersten Mal aufgerufen. Daher wurde ein Registry-Key erstellt. \r"
    "Um ihn wieder loszuwerden, einfach den Deinstallieren-Button verwenden.\r\r"
    "Bitte konfigurieren Sie nun zunächst die Einstellungen im folgenden Menü.";

} // namespace

Shell::Shell(RunState& state)
    : state_(state), env_{state.instance, state.programIcon, state.trayImage.get(),
                          &state.fonts,   &state.toolTips,   this},
      main_(env_, static_cast<DirectLauncher&>(*this), state.trayImage.get()) {
    dispatch_.AddGadgets<MainWindow>(kMainWindowNumber, MainWindow::Rows(),
                                     [this] { return main_.IsOpen() ? &main_ : nullptr; });
    dispatch_.AddGadgets<ConfigWindow>(kConfigWindowNumber, ConfigWindow::Rows(),
                                       [this] { return config_ ? &*config_ : nullptr; });
    dispatch_.AddGadgets<InfoWindow>(kInfoWindowNumber, InfoWindow::Rows(),
                                     [this] { return info_ ? &*info_ : nullptr; });
    dispatch_.AddGadgets<QuickSearchWindow>(kQuickSearchWindowNumber, QuickSearchWindow::Rows(),
                                            [this] { return search_ ? &*search_ : nullptr; });
    dispatch_.AddMenuItem(kReturnShortcut, [this] { LaunchDirect(DirectKind::Ssh); });
    dispatch_.AddMenuItem(kQuickSearchShortcut, [this] { OpenQuickSearch(); });
    dispatch_.AddMenuItem(kQuitItem, [this] { Quit(); });
    dispatch_.AddMenuItem(kPuttySettingsItem, [this] { LaunchPuttyAlone(); });
    dispatch_.AddMenuItem(kConfigureItem, [this] { OpenConfigWindow(); });
    dispatch_.AddMenuItem(kAboutItem, [this] { OpenInformationWindow(); });
    dispatch_.AddSessionItems(kFirstSessionItem, [this](int item) { LaunchSession(item); });
}

int Shell::Run(bool firstRun) {
    state_.menus = LayoutSessionMenu(state_.catalogue);
    main_.Open(state_.settings, state_.menus);
    if (firstRun) {
        ShowMessage("Ulvas Quarnel", kFirstRunMessage);
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

    for (;;) {
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                return static_cast<int>(message.wParam);
            }
            if (HandleKeys(message)) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

bool Shell::HandleKeys(MSG& message) {
    if (main_.TranslateShortcuts(message)) {
        return true;
    }
    const HWND top = GetAncestor(message.hwnd, GA_ROOT);
    if (top == nullptr) {
        return false;
    }
    const HWND info = info_ ? info_->Handle() : nullptr;
    const HWND config = config_ ? config_->Handle() : nullptr;
    const bool isReturn = (message.message == WM_KEYDOWN || message.message == WM_KEYUP ||
                           message.message == WM_CHAR) &&
                          (message.wParam == VK_RETURN || message.wParam == '\r');
    // Return acts only through the main window's shortcut; the other windows of the
    // shell have no default button.
    if (isReturn && (top == main_.Handle() || top == info)) {
        return true;
    }
    // Tab and Shift+Tab move the focus as in a dialog.
    if (top == main_.Handle() || top == info || top == config) {
        return IsDialogMessageW(top, &message) != 0;
    }
    return false;
}

void Shell::OnEvent(const Event& event) {
    switch (event.kind) {
    case EventKind::Gadget:
    case EventKind::Menu:
        dispatch_.Dispatch(event);
        return;
    case EventKind::Tray:
        if (event.number == static_cast<int>(kTrayIconId)) {
            OnTray(event.action);
        }
        return;
    case EventKind::Close:
        OnClose(event.window);
        return;
    }
}

void Shell::OnTray(int mouseMessage) {
    // A message box or the file requester has disabled the main window; its icon waits
    // with it, as the handler that opened them has not ended.
    if (!IsWindowEnabled(main_.Handle())) {
        return;
    }
    if (mouseMessage == WM_LBUTTONUP) {
        if (main_.IsShown()) {
            main_.HideToTray();
        } else {
            main_.ShowFromTray();
        }
    } else if (mouseMessage == WM_RBUTTONUP) {
        main_.ShowTrayMenu();
    }
}

void Shell::OnClose(int window) {
    switch (window) {
    case kMainWindowNumber:
        Quit();
        break;
    case kConfigWindowNumber:
        config_.reset();
        break;
    case kInfoWindowNumber:
        info_.reset();
        break;
    case kQuickSearchWindowNumber:
        search_.reset();
        break;
    default:
        break;
    }
}

void Shell::LaunchSession(int item) {
    const std::vector<std::string>& items = state_.catalogue.menuItemSessions;
    const size_t index = static_cast<size_t>(item - kFirstSessionItem);
    if (item < kFirstSessionItem || index >= items.size()) {
        return;
    }
    LaunchSessionKey(items[index]);
}

void Shell::LaunchSessionKey(const std::string& keyName) {
    std::optional<std::string> password;
    if (!state_.passwordsWithheld) {
        password = LookupSessionPassword(keyName, state_.settings.Passwortfunktionalitaet != 0,
                                         state_.masterPassword);
    }
    if (password && !IsPasswordUsable(*password)) {
        password.reset(); // deciphered under a wrong master password: let PuTTY ask
    }
    // A PuTTY that reads its password from a file gets it through a pipe that only it
    // may read, so it never stands in the process list. Without the pipe PuTTY asks:
    // the password never falls back onto the command line.
    std::string passwordPart;
    std::optional<std::wstring> pipe;
    const std::string& putty = state_.settings.PuttyPfad;
    if (password) {
        const std::optional<FileVersion> version = ReadFileVersion(putty);
        if (version && ReadsPasswordFile(*version)) {
            pipe = state_.courier.Prepare(*password);
            passwordPart = pipe ? PasswordFilePart(Narrow(*pipe)) : std::string();
        } else {
            passwordPart = PasswordPart(*password);
        }
        SecureZeroMemory(password->data(), password->size());
    }
    std::optional<StartedProcess> started =
        LaunchPutty(putty, SessionLaunch(keyName, passwordPart, state_.startDirectory));
    SecureZeroMemory(passwordPart.data(), passwordPart.size());
    if (!started) {
        if (pipe) {
            state_.courier.Withdraw(*pipe);
        }
        ShowMessage("Fehler", "Das ging schief");
        return;
    }
    if (pipe) {
        state_.courier.Serve(*pipe, std::move(started->process), started->id);
    }
    state_.recentSessions = PushRecentSession(std::move(state_.recentSessions), keyName);
    // Stored only while the program key exists: after the uninstall nothing comes back.
    RegistryWrite(ProgramKey, RecentSessionsValueName, FormatRecentSessions(state_.recentSessions),
                  kRegSz, ".");
    AfterLaunch();
}

void Shell::LaunchDirect(DirectKind kind) {
    StartDirect(kind, main_.HostText());
}

void Shell::StartDirect(DirectKind kind, const std::string& host) {
    const LaunchRequest request = DirectLaunch(kind, host, state_.settings.SSHSessionVorlage);
    if (!LaunchPutty(state_.settings.PuttyPfad, request)) {
        ShowMessage("Fehler", "Das ging schief");
        return;
    }
    AfterLaunch();
}

void Shell::LaunchPuttyAlone() {
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
    config_.emplace(env_, state_.settings, state_.catalogue, static_cast<ConfigHost&>(*this));
    if (!config_->Open()) {
        config_.reset();
    }
}

void Shell::OpenInformationWindow() {
    info_.reset(); // there is never more than one
    info_.emplace(env_, [this] { info_.reset(); });
    if (!info_->Open()) {
        info_.reset();
    }
}

void Shell::OpenQuickSearch() {
    if (search_) {
        search_->BringToFront();
        return;
    }
    QuickSearchWindow::Actions actions{
        [this](size_t session) { LaunchSessionKey(state_.catalogue.allSessions.at(session)); },
        [this](const std::string& host) { StartDirect(DirectKind::Ssh, host); },
        [this] { search_.reset(); }};
    search_.emplace(env_, state_.catalogue,
                    SessionIndices(state_.catalogue.allSessions, state_.recentSessions),
                    std::move(actions));
    if (!search_->Open()) {
        search_.reset();
    }
}

void Shell::Quit() {
    main_.ShowAndSaveGeometry();
    // The loop ends; every window and handle goes with its owner.
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
