// The main window (window 1): menu bar, host field, SSH and Telnet buttons; the tray
// icon with its popup menu, which holds the same items as the menu bar.
#pragma once

#include "config/settings.h"
#include "sessions/launcher.h"
#include "sessions/session_menu.h"
#include "win/handles.h"
#include "win/window.h"

#include <span>
#include <string>
#include <vector>

namespace quarnel {

enum MainGadget : int {
    kHostField = 24,
    kSshButton = 25,
    kTelnetButton = 26,
};

inline constexpr int kMainWindowNumber = 1;

// What the buttons of the main window ask of the program.
class DirectLauncher {
  public:
    virtual void LaunchDirect(DirectKind kind) = 0;

  protected:
    ~DirectLauncher() = default;
};

class MainWindow : public TopWindow {
  public:
    MainWindow(const WindowEnv& env, DirectLauncher& launcher, HICON trayImage);
    ~MainWindow() override;

    // Opens the window where the settings say, with its menu bar, gadgets and the tray
    // popup menu; false when the window cannot be made.
    bool Open(const Settings& settings, const std::vector<MenuTitle>& menus);

    static std::span<const GadgetRow<MainWindow>> Rows();
    void OnSsh();
    void OnSshWithTemplate();
    void OnTelnet();

    std::string HostText() const;
    void FocusHostField() const;
    // The keys of the active main window: Strg+F for the quick search, and Return for
    // an SSH connection (menu event 111) when `withReturn`.
    void InstallShortcuts(bool withReturn);
    // Translates those keys while the window is active.
    bool TranslateShortcuts(MSG& message) const;
    // The quick search's global hotkey; false when another program holds it.
    bool RegisterQuickSearchHotkey(unsigned modifiers, unsigned virtualKey) const;

    void AddTrayIcon();
    void ShowTrayMenu() const;

    bool IsShown() const { return shown_; }
    void MarkShown() { shown_ = true; }
    void SaveGeometry() const;
    void HideToTray();
    void ShowFromTray();
    // Shows the window, also from the tray, and stores its geometry: the first steps of
    // ending the program.
    void ShowAndSaveGeometry();

  protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void HideAtOnce();
    void RemoveTrayIcon();

    DirectLauncher& launcher_;
    HICON trayImage_;
    UniqueMenu popup_; // the menu bar belongs to the window
    UniqueAccelerators shortcuts_;
    UINT taskbarCreated_ = 0;
    bool trayIconAdded_ = false;
    bool shown_ = false;
};

} // namespace quarnel
