// The running program: its windows, the one dispatch table and the one event loop.
#pragma once

#include "app/dispatch.h"
#include "app/info_window.h"
#include "app/main_window.h"
#include "app/quick_search_window.h"
#include "app/run_state.h"
#include "config/config_window.h"
#include "win/events.h"

#include <optional>

namespace quarnel {

class Shell : private EventSink, private ConfigHost, private DirectLauncher {
  public:
    explicit Shell(RunState& state);
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    // Opens the main window and the tray icon (and on a first run the welcome message and
    // the configuration window), then dispatches events until the program ends; returns
    // the exit code.
    int Run(bool firstRun);

  private:
    void OnEvent(const Event& event) override;
    void RestartProgram() override;
    void LaunchDirect(DirectKind kind) override;

    void LaunchSession(int item);
    void LaunchSessionKey(const std::string& keyName);
    void StartDirect(DirectKind kind, const std::string& host);
    void OpenQuickSearch();
    void LaunchPuttyAlone();
    void AfterLaunch();
    void OpenConfigWindow();
    void OpenInformationWindow();
    void OnTray(int mouseMessage);
    void OnClose(int window);
    void Quit();
    bool HandleKeys(MSG& message);

    RunState& state_;
    WindowEnv env_;
    Dispatcher dispatch_;
    MainWindow main_;
    std::optional<ConfigWindow> config_;
    std::optional<InfoWindow> info_;
    std::optional<QuickSearchWindow> search_;
};

} // namespace quarnel
