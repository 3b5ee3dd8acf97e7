// The running program: its windows and the one event loop. Each window handles its own
// controls; the shell hears only what spans windows: starting a session or a connection,
// opening a window, a window gone, quitting.
#pragma once

#include "app/info_window.h"
#include "app/main_window.h"
#include "app/quick_search_window.h"
#include "app/run_state.h"
#include "config/config_window.h"
#include "sessions/session_watcher.h"

#include <memory>
#include <optional>
#include <vector>

namespace quarnel {

class Shell : private WindowOwner,
              private MainWindowHost,
              private QuickSearchHost,
              private ConfigHost {
  public:
    explicit Shell(RunState& state);
    ~Shell();
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    // Opens the main window and the tray icon (and on a first run the welcome message and
    // the configuration window).
    void Open(bool firstRun);
    // Waits up to `timeout` ms for input and handles what has come; false once the
    // program has ended.
    bool PumpOnce(DWORD timeout = INFINITE);
    // Open, then pump until the program ends; returns the exit code.
    int Run(bool firstRun);

  private:
    void WindowGone(TopWindow& window) override;

    void StartSession(const std::string& keyName) override;
    void Connect(StartKind kind, const std::wstring& host) override;
    void ConnectTo(const std::wstring& host) override;
    void StartPuttyAlone() override;
    void OpenConfigWindow() override;
    void OpenInformationWindow() override;
    void OpenQuickSearch() override;
    void Quit() override;
    void RestartProgram() override;
    void CatalogueChanged() override;

    // What every start hands PuTTY: its file and the start folder.
    StartRequest Request(StartKind kind) const;
    // Starts PuTTY as the plan for the request says and serves the pipe made for it; tells
    // the user when the start failed.
    bool Start(const StartRequest& request, const std::optional<std::wstring>& pipe);
    bool TemplateSetsSsh(const std::string& templateName) const;
    void AfterLaunch();
    bool HandleKeys(MSG& message);

    RunState& state_;
    WindowEnv env_;
    MainWindow main_;
    std::unique_ptr<ConfigWindow> config_;
    std::unique_ptr<InfoWindow> info_;
    std::unique_ptr<QuickSearchWindow> search_;
    // Windows that have gone, kept until the handler that closed them has returned.
    std::vector<std::unique_ptr<TopWindow>> gone_;
    // Follows PuTTY's sessions while the windows are there; goes before them.
    std::unique_ptr<SessionWatcher> watcher_;
    int exitCode_ = 0;
};

} // namespace quarnel
