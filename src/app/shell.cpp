#include "app/shell.h"

#include "app/startup.h"
#include "app/tray.h"
#include "registry/registry.h"
#include "sessions/putty_process.h"
#include "sessions/putty_version.h"
#include "sessions/session_name.h"
#include "sessions/catalogue_update.h"
#include "sessions/start_plan.h"
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
    watcher_.reset();
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
    watcher_ = std::make_unique<SessionWatcher>(state_.catalogue, main_.Handle(),
                                                kCatalogueChangedMessage);
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
    MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
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

StartRequest Shell::Request(StartKind kind) const {
    StartRequest request;
    request.kind = kind;
    request.puttyPath = Widen(state_.settings.PuttyPfad);
    request.startDirectory = state_.startDirectory;
    return request;
}

bool Shell::Start(const StartRequest& request, const std::optional<std::wstring>& pipe) {
    const StartPlan plan = PlanStart(request);
    if (pipe && plan.route != PasswordRoute::Pipe) {
        state_.courier.Withdraw(*pipe);
    }
    std::optional<StartedProcess> started = StartPutty(plan);
    if (plan.route == PasswordRoute::Pipe) {
        if (started) {
            state_.courier.Serve(*pipe, std::move(started->process), started->id);
        } else {
            state_.courier.Withdraw(*pipe);
        }
    }
    if (!started) {
        ShowMessage("Fehler", "Das ging schief");
    }
    return started.has_value();
}

void Shell::StartSession(const std::string& keyName) {
    StartRequest request = Request(StartKind::Session);
    request.session = Widen(SessionDisplayName(keyName), CodePage::System);
    std::optional<std::wstring> pipe;
    if (!state_.master.withheld) {
        if (std::optional<std::string> password = LookupSessionPassword(
                keyName, state_.settings.Passwortfunktionalitaet != 0, state_.master.password)) {
            // As PuTTY sends a password typed into its own window: UTF-8.
            request.password = NarrowExact(Widen(*password), CodePage::Utf8);
            SecureZeroMemory(password->data(), password->size());
        }
    }
    if (request.password) {
        request.puttyVersion = ReadFileVersion(request.puttyPath);
        if (RouteFor(request.puttyVersion) == PasswordRoute::Pipe) {
            pipe = state_.courier.Prepare(*request.password);
            request.pipePath = pipe.value_or(L"");
        } else {
            // An older PuTTY takes its command line in the system's code page: those
            // characters of the UTF-8 bytes, where the code page has them all.
            std::wstring argument = Widen(*request.password, CodePage::System);
            if (NarrowExact(argument, CodePage::System) == request.password) {
                request.passwordArgument = std::move(argument);
            }
        }
    }
    const bool started = Start(request, pipe);
    if (request.password) {
        SecureZeroMemory(request.password->data(), request.password->size());
    }
    if (request.passwordArgument) {
        SecureZeroMemory(request.passwordArgument->data(),
                         request.passwordArgument->size() * sizeof(wchar_t));
    }
    if (!started) {
        return;
    }
    state_.recentSessions = PushRecentSession(std::move(state_.recentSessions), keyName);
    // Stored only while the program key exists: after the uninstall nothing comes back.
    RegistryWrite(ProgramKey, RecentSessionsValueName, FormatRecentSessions(state_.recentSessions),
                  kRegSz, ".");
    AfterLaunch();
}

bool Shell::TemplateSetsSsh(const std::string& templateName) const {
    // The template is a name as shown; a template that is no session leaves PuTTY its
    // defaults, which are SSH.
    for (const std::string& keyName : state_.catalogue.allSessions) {
        if (SessionDisplayName(keyName) == templateName) {
            const std::string protocol = RegistryRead(SessionsKey + keyName, "Protocol", ".");
            return protocol.empty() || protocol == "ssh";
        }
    }
    return true;
}

void Shell::Connect(StartKind kind, const std::wstring& host) {
    StartRequest request = Request(kind);
    request.host = host;
    if (kind == StartKind::SshWithTemplate) {
        request.templateName = Widen(state_.settings.SSHSessionVorlage);
        request.templateSetsSsh = TemplateSetsSsh(state_.settings.SSHSessionVorlage);
    }
    if (Start(request, std::nullopt)) {
        AfterLaunch();
    }
}

void Shell::ConnectTo(const std::wstring& host) {
    Connect(StartKind::Ssh, host);
}

void Shell::StartPuttyAlone() {
    if (Start(Request(StartKind::PuttyAlone), std::nullopt)) {
        AfterLaunch();
    }
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

void Shell::CatalogueChanged() {
    std::optional<SessionCatalogue> update = watcher_ ? watcher_->TakeUpdate() : std::nullopt;
    if (!update) {
        return;
    }
    const CatalogueChange change = CompareCatalogues(state_.catalogue, *update);
    state_.catalogue = std::move(*update);
    if (!change.Any()) {
        return;
    }
    main_.SetMenus(LayoutSessionMenu(state_.catalogue));
    if (search_) {
        search_->CatalogueChanged(
            SessionIndices(state_.catalogue.allSessions, state_.recentSessions));
    }
    if (config_) {
        config_->CatalogueChanged();
    }
}

void Shell::RestartProgram() {
    const std::wstring& file = state_.programFile;
    const std::wstring directory = CurrentDirectory();
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
