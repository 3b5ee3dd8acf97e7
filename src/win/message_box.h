// Message boxes of the program: no icon, modal for every window of the program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quarnel {

// `buttons` is MB_OK or MB_YESNO; the result is IDOK, IDYES or IDNO.
int ShowMessage(const std::string& title, const std::string& text, UINT buttons = MB_OK);

// While one lives, every window of the program but `except` waits, a main window hidden in
// the tray included, as for a task-modal box: for the file requester, which disables only
// its owner, and for the program's own modal prompts.
class OtherWindowsDisabled {
  public:
    explicit OtherWindowsDisabled(HWND except);
    ~OtherWindowsDisabled();
    OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
    OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

  private:
    static BOOL CALLBACK Disable(HWND window, LPARAM self);
    HWND except_;
    std::vector<HWND> disabled_;
};

} // namespace quarnel
