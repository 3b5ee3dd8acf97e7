// The configuration window (window 0): settings, menu assignments and passwords.
#pragma once

#include "app/events.h"

#include <windows.h>

namespace quarnel {

// Opens and fills the window, or brings an open one to the front.
void OpenConfigWindow();
HWND ConfigWindowHandle();
// Whether a gadget number belongs to the configuration window.
bool IsConfigGadget(int number);
// Every gadget event of the window, and its close request.
void HandleConfigEvent(const Event& event);

} // namespace quarnel
