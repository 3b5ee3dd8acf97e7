#include "win/tool_tips.h"

#include "win/text.h"

#include <commctrl.h>

#include <vector>

namespace quarnel {

HWND ToolTips::Control() {
    // Owned by no window: it lives as long as the program, not as long as the window that
    // happened to ask first, so each window takes its own tools along when it goes.
    if (!tip_) {
        tip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                   instance_, nullptr));
        SendMessageW(tip_.get(), TTM_SETMAXTIPWIDTH, 0, 600);
    }
    return tip_.get();
}

void ToolTips::Add(HWND control, const std::string& text) {
    const HWND tip = Control();
    std::wstring wide = Widen(text);
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(control);
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = wide.data();
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void ToolTips::RemoveAll(HWND window) {
    if (!tip_ || window == nullptr) {
        return;
    }
    std::vector<TOOLINFOW> gone;
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        TOOLINFOW info{};
        info.cbSize = sizeof info;
        if (SendMessageW(tip_.get(), TTM_ENUMTOOLSW, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&info)) &&
            info.hwnd == window) {
            gone.push_back(info);
        }
    }
    for (TOOLINFOW& info : gone) {
        SendMessageW(tip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

int ToolTips::Count() const {
    return tip_ ? static_cast<int>(SendMessageW(tip_.get(), TTM_GETTOOLCOUNT, 0, 0)) : 0;
}

} // namespace quarnel
