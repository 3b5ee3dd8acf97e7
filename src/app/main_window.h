// The main window (window 1): menu bar, host field, SSH and Telnet buttons; the tray
// icon with its popup menu, which holds the same items as the menu bar. The window owns
// both menus and what their session items stand for.
#pragma once

#include "config/settings.h"
#include "sessions/start_plan.h"
#include "sessions/session_menu.h"
#include "win/handles.h"
#include "win/window.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quarnel {

enum MainGadget : int {
    kHostField = 24,
    kSshButton = 25,
    kTelnetButton = 26,
};

// Posted to the main window when PuTTY's sessions have changed.
inline constexpr UINT kCatalogueChangedMessage = WM_APP + 5;

// What the main window's menus, buttons and keys ask of the program.
class MainWindowHost {
  public:
    virtual void StartSession(const std::string& keyName) = 0;
    virtual void Connect(StartKind kind, const std::wstring& host) = 0;
    virtual void StartPuttyAlone() = 0;
    virtual void OpenConfigWindow() = 0;
    virtual void OpenInformationWindow() = 0;
    virtual void OpenQuickSearch() = 0;
    virtual void Quit() = 0;
    // PuTTY's sessions have changed (the message kCatalogueChangedMessage came).
    virtual void CatalogueChanged() = 0;

  protected:
    ~MainWindowHost() = default;
};

class MainWindow : public RowWindow<MainWindow> {
  public:
    MainWindow(const WindowEnv& env, MainWindowHost& host, HICON trayImage);

    // Opens the window where the settings say, with its menu bar, gadgets and the tray
    // popup menu; false when the window cannot be made.
    bool Open(const Settings& settings, SessionMenu menus);
    // Both menus anew, once no menu of the window is open.
    void SetMenus(SessionMenu menus);

    static std::span<const GadgetRow<MainWindow>> Rows();
    void OnSsh();
    void OnSshWithTemplate();
    void OnTelnet();

    void FocusHostField() const;
    // The keys of the active main window: Strg+F for the quick search, and Return for
    // an SSH connection when `withReturn`.
    void InstallShortcuts(bool withReturn);
    // Translates those keys while the window is active.
    bool TranslateShortcuts(MSG& message) const;
    // The quick search's global hotkey; false when another program holds it.
    bool RegisterQuickSearchHotkey(unsigned modifiers, unsigned virtualKey) const;

    void AddTrayIcon();

    void MarkShown() { shown_ = true; }
    void SaveGeometry() const;
    void HideToTray();
    void ShowFromTray();
    // Shows the window, also from the tray, and stores its geometry: the first steps of
    // ending the program.
    void ShowAndSaveGeometry();

  protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnMenu(int item) override;
    void OnCancel() override {}
    void OnCloseRequest() override;

  private:
    // Sizes and places the window once its menu bar is set: the stored size where it
    // fits the monitor's work area, never less than the controls need below every row of
    // the bar, the whole window inside the work area.
    void Fit(int storedWidth, int storedHeight);
    void PutMenus(SessionMenu menus);
    std::wstring HostText() const;
    // A message box or the file requester is open: the icon and the hotkey wait too.
    bool Modal() const;
    // An event of the tray icon (NIN_SELECT, WM_CONTEXTMENU, ...) and where it happened.
    void OnTray(int event, POINT anchor);
    void ShowTrayMenu(POINT anchor);
    void HideAtOnce();
    void RemoveTrayIcon();

    MainWindowHost& host_;
    HICON trayImage_;
    UniqueMenu popup_; // the menu bar belongs to the window
    std::vector<std::string> menuItemSessions_;
    std::optional<SessionMenu> pendingMenus_;
    bool menuOpen_ = false;
    UniqueAccelerators shortcuts_;
    UINT taskbarCreated_ = 0;
    bool trayIconAdded_ = false;
    bool trayVersion4_ = false;
    int selectsToSkip_ = 0;
    bool shown_ = false;
};

} // namespace quarnel
