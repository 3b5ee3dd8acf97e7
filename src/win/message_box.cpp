#include "win/message_box.h"

#include "win/text.h"

namespace quarnel {

int ShowMessage(const std::string& title, const std::string& text, UINT buttons) {
    // Task-modal without an owner disables every top-level window of the program.
    return MessageBoxW(nullptr, Widen(text).c_str(), Widen(title).c_str(),
                       buttons | MB_TASKMODAL | MB_SETFOREGROUND);
}

OtherWindowsDisabled::OtherWindowsDisabled(HWND except) : except_(except) {
    EnumThreadWindows(GetCurrentThreadId(), Disable, reinterpret_cast<LPARAM>(this));
}

OtherWindowsDisabled::~OtherWindowsDisabled() {
    for (const HWND window : disabled_) {
        EnableWindow(window, TRUE);
    }
}

BOOL CALLBACK OtherWindowsDisabled::Disable(HWND window, LPARAM self) {
    auto* me = reinterpret_cast<OtherWindowsDisabled*>(self);
    if (window != me->except_ && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        me->disabled_.push_back(window);
    }
    return TRUE;
}

} // namespace quarnel
