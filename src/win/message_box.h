// Message boxes of the program: no icon, modal for every window of the program.
#pragma once

#include <windows.h>

#include <string>

namespace quarnel {

// `buttons` is MB_OK or MB_YESNO; the result is IDOK, IDYES or IDNO.
int ShowMessage(const std::string& title, const std::string& text, UINT buttons = MB_OK);

} // namespace quarnel
