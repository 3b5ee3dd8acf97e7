// The configuration window (window 0): settings, menu assignments and passwords.
#pragma once

#include "app/events.h"

#include <windows.h>

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

// Opens and fills the window, or brings an open one to the front.
void OpenConfigWindow();
HWND ConfigWindowHandle();
// Whether a gadget number belongs to the configuration window.
bool IsConfigGadget(int number);
// Every gadget event of the window, and its close request.
void HandleConfigEvent(const Event& event);

// Tests the in-memory PuttyPfad: stores it when it names a readable file and tells the
// user in the status label either way.
void CheckPuttyPath();

} // namespace quarnel
