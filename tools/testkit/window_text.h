// What a window shows, read as a user reads it, in this process or another.
#pragma once

#include "win/text.h"

#include <windows.h>

#include <string>
#include <vector>

namespace quarnel::test {

using Texts = std::vector<std::string>;

// A window's title or a control's text.
inline std::string TextOf(HWND window) {
    wchar_t text[2048] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                        nullptr);
    return Narrow(text);
}

// A top-level window of the process whose title begins so (and of the class, when given);
// null when there is none.
inline HWND FindTopWindow(DWORD processId, const std::string& titlePrefix, bool visibleOnly = true,
                          const wchar_t* className = nullptr) {
    struct Search {
        DWORD id;
        std::wstring prefix;
        bool visibleOnly;
        const wchar_t* className;
        HWND found = nullptr;
    } search{processId, Widen(titlePrefix), visibleOnly, className};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t title[256] = {}, name[64] = {};
            GetWindowTextW(window, title, 256);
            GetClassNameW(window, name, 64);
            if (owner == s.id && (IsWindowVisible(window) || !s.visibleOnly) &&
                std::wstring(title).starts_with(s.prefix) &&
                (s.className == nullptr || std::wstring(name) == s.className)) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The entries of a combo box or the rows of a list box.
inline Texts Entries(HWND control) {
    wchar_t kind[16] = {};
    GetClassNameW(control, kind, 16);
    const bool list = std::wstring(kind) == L"ListBox";
    Texts entries;
    const auto count = SendMessageW(control, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        wchar_t text[512] = {};
        SendMessageW(control, list ? LB_GETTEXT : CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(Narrow(text));
    }
    return entries;
}

} // namespace quarnel::test
