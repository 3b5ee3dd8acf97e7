// The configuration window (window 0): settings, menu assignments and passwords. Each
// control that acts has its handler in the window's gadget table.
#pragma once

#include "config/settings.h"
#include "sessions/catalogue.h"
#include "vault/master_check.h"
#include "win/window.h"

#include <optional>
#include <span>
#include <string>

namespace quarnel {

enum ConfigGadget : int {
    kSessionCombo = 0,
    kMasterPasswordField = 1,
    kMasterPasswordLabel = 2,
    kSessionPasswordLabel = 3,
    kSessionPasswordField = 4,
    kSessionLabel = 5,
    kSaveButton = 6,
    kDeletePasswordButton = 7,
    kMenuCombo = 8,
    kMenuLabel = 9,
    kPasswordFunctionCheck = 10,
    kAssignmentFrame = 11,
    kPasswordFrame = 12,
    kGeneralFrame = 13,
    kQuitAfterLaunchCheck = 14,
    kPuttyPathField = 15,
    kPuttyPathLabel = 16,
    kDeleteMenuButton = 17,
    kRestartButton = 18,
    kDeleteAllMenusButton = 19,
    kDeleteAllPasswordsButton = 20,
    kWarningTitleLabel = 21,
    kWarningTextLabel = 22,
    kStartMinimizedCheck = 23,
    kUninstallButton = 27,
    kPuttyPathStatusLabel = 36,
    kBrowseButton = 37,
    kAutostartCheck = 38,
    kMinimizeAfterLaunchCheck = 39,
    kSshTemplateCombo = 40,
    kSshTemplateLabel = 41,
};

// What the window asks of the program around it.
class ConfigHost {
  public:
    // Starts a new copy of the program and ends this one; returns only when no new copy
    // could be started (the user has been told).
    virtual void RestartProgram() = 0;

  protected:
    ~ConfigHost() = default;
};

class ConfigWindow : public RowWindow<ConfigWindow> {
  public:
    ConfigWindow(const WindowEnv& env, Settings& settings, MasterState& master,
                 const SessionCatalogue& catalogue, ConfigHost& host);

    // Opens and fills the window from the settings and the catalogue; false when the
    // window cannot be made.
    bool Open();
    // The catalogue has changed: the lists follow it, keeping what the user picked and
    // typed.
    void CatalogueChanged();

    static std::span<const GadgetRow<ConfigWindow>> Rows();

    // Handlers, one per control event that acts.
    void OnSessionChosen();
    void OnSave();
    void OnDeletePassword();
    void OnDeleteAllPasswords();
    void OnPasswordFunction();
    void OnQuitAfterLaunch();
    void OnMinimizeAfterLaunch();
    void OnStartMinimized();
    void OnAutostart();
    void OnPathEdited();
    void OnPathLeft();
    void OnBrowse();
    void OnTemplateChosen();
    void OnDeleteMenu();
    void OnDeleteAllMenus();
    void OnRestart();
    void OnUninstall();

  protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void Fill();
    void FillMenuCombo(const std::string& first);
    // Tests PuttyPfad beside the window: PuttyPathChecked then stores it when it names a
    // readable file that can be read back whole, and tells the user in the status label
    // either way.
    void CheckPuttyPath();
    void PuttyPathChecked(unsigned check, bool readable);
    // The key name of the session chosen in the session combo; none for its two fixed
    // entries. Taken from the entry's place, never from its text.
    std::optional<std::string> ChosenSession() const;
    // Password step of a pick in the session combo; false ends the handler.
    bool ShowChosenPassword();
    // Password step of the save button; false when the session's key could not be
    // written (the user has been told).
    bool StoreChosenPassword(const std::optional<std::string>& session, const std::string& password,
                             const std::string& master);
    void StoreChosenMenu(const std::optional<std::string>& session, const std::string& text);
    void GeneralOption(int gadget, const char* valueName, int8_t Settings::*field);
    // Whether the master password typed here matches the stored check (or none is
    // stored); tells the user when it does not.
    bool MasterAccepted(const std::string& master);
    // Whether the master password is one the user has confirmed: the one the start-up
    // prompt took, or one typed once more now.
    bool MasterConfirmed(const std::string& master);

    Settings& settings_;
    MasterState& master_;
    const SessionCatalogue& catalogue_;
    std::vector<std::string> shownSessions_; // the sessions listed, in their order
    ConfigHost& host_;
    std::string acceptedMaster_; // checked already: the check takes its time
    unsigned pathCheck_ = 0;     // the latest check of the path; older answers are stale
};

} // namespace quarnel
