// The information window (window 3): the program's name and version.
#pragma once

#include <windows.h>

namespace quarnel {

enum InfoGadget : int {
    kInfoNameLabel = 28,
    kInfoVersionLabel = 29,
    kInfoCreditLabel = 30,
    kInfoOkButton = 31,
};

// Opens the window; an open one is closed first, so there is never more than one.
void OpenInformationWindow();
void CloseInformationWindow();
HWND InformationWindowHandle();

} // namespace quarnel
