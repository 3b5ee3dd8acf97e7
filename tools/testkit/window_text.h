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
