// Hook procedures that the UI driver installs on the GUI thread of the program under
// test; the system loads this DLL into that process to call them. They answer the
// driver's requests (see probe_protocol.h) from inside the program, where its menus can
// be read.
#include "probe_protocol.h"
#include "win/handles.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

namespace probe = quarnel::test::probe;

namespace {

constexpr int kMaxDepth = 30; // menus nest no deeper than the system allows

UINT DescribeMenuMessage() {
    static const UINT message = RegisterWindowMessageW(probe::kDescribeMenuMessage);
    return message;
}

UINT IdleMessage() {
    static const UINT message = RegisterWindowMessageW(probe::kIdleMessage);
    return message;
}

void AppendNumber(std::wstring& out, long long number) {
    out += std::to_wstring(number);
    out += L' ';
}

// `window` is the window that shows the menu (the owner of a menu bar); null for a popup
// menu, whose own window the system then finds.
void DescribeMenu(std::wstring& out, HWND window, HMENU menu, int depth) {
    out += L"menu ";
    out += std::to_wstring(reinterpret_cast<UINT_PTR>(menu));
    out += L'\n';
    const int count = depth < kMaxDepth ? GetMenuItemCount(menu) : 0;
    for (int pos = 0; pos < count; ++pos) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &info)) {
            continue;
        }
        std::wstring text;
        if (info.cch > 0) {
            std::wstring buffer(info.cch + 1, L'\0');
            info.cch += 1;
            info.dwTypeData = buffer.data();
            GetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &info);
            text = buffer.c_str();
        }
        const wchar_t kind = (info.fType & MFT_SEPARATOR) ? L's' : info.hSubMenu ? L'p' : L'c';
        RECT rect{};
        const bool rectValid = GetMenuItemRect(window, menu, static_cast<UINT>(pos), &rect);
        out += L"item ";
        out += kind;
        out += L' ';
        AppendNumber(out, static_cast<long long>(info.wID));
        AppendNumber(out, static_cast<long long>(info.fState));
        AppendNumber(out, static_cast<long long>(reinterpret_cast<UINT_PTR>(info.hSubMenu)));
        AppendNumber(out, rectValid ? 1 : 0);
        AppendNumber(out, rect.left);
        AppendNumber(out, rect.top);
        AppendNumber(out, rect.right);
        AppendNumber(out, rect.bottom);
        AppendNumber(out, static_cast<long long>(text.size()));
        out += text;
        out += L'\n';
        if (info.hSubMenu) {
            DescribeMenu(out, nullptr, info.hSubMenu, depth + 1);
        }
    }
    out += L"end\n";
}

void AnswerDescribeMenu(HWND window, WPARAM request, LPARAM driverPid) {
    const std::wstring name = probe::ReplyName(static_cast<DWORD>(driverPid), request);
    const quarnel::UniqueHandle mapping(OpenFileMappingW(FILE_MAP_WRITE, FALSE, name.c_str()));
    if (!mapping) {
        return;
    }
    void* view = MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, probe::kReplyBytes);
    if (!view) {
        return;
    }
    const std::unique_ptr<void, decltype(&UnmapViewOfFile)> unmap(view, &UnmapViewOfFile);
    auto* header = static_cast<probe::ReplyHeader*>(view);

    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    const bool popupWindow = std::wcscmp(className, L"#32768") == 0;
    HMENU menu = popupWindow ? reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0))
                             : GetMenu(window);
    if (!menu) {
        header->status = static_cast<LONG>(probe::Status::NoMenu);
        return;
    }
    std::wstring text;
    DescribeMenu(text, popupWindow ? nullptr : window, menu, 0);
    const size_t room = (probe::kReplyBytes - sizeof(probe::ReplyHeader)) / sizeof(wchar_t);
    if (text.size() > room) {
        header->status = static_cast<LONG>(probe::Status::TooLarge);
        return;
    }
    std::memcpy(header + 1, text.data(), text.size() * sizeof(wchar_t));
    header->chars = static_cast<DWORD>(text.size());
    header->status = static_cast<LONG>(probe::Status::Done);
}

void AnswerIdle(WPARAM request, LPARAM driverPid) {
    const std::wstring name = probe::ReplyName(static_cast<DWORD>(driverPid), request);
    const quarnel::UniqueHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str()));
    if (event) {
        SetEvent(event.get());
    }
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ProbeCallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == DescribeMenuMessage()) {
            AnswerDescribeMenu(call->hwnd, call->wParam, call->lParam);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ProbeGetMessage(int code, WPARAM removal, LPARAM lParam) {
    if (code == HC_ACTION && removal == PM_REMOVE) {
        auto* msg = reinterpret_cast<MSG*>(lParam);
        if (msg->message == IdleMessage()) {
            AnswerIdle(msg->wParam, msg->lParam);
            msg->message = WM_NULL; // nothing of the program should see it
        }
    }
    return CallNextHookEx(nullptr, code, removal, lParam);
}
