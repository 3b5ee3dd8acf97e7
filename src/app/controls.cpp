#include "app/controls.h"

#include "app/events.h"
#include "app/program.h"
#include "app/resource_ids.h"
#include "win/dpi.h"
#include "win/text.h"

#include <commctrl.h>

#include <algorithm>

namespace quarnel {

namespace {

struct KindStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

KindStyle StyleOf(GadgetKind kind) {
    switch (kind) {
    case GadgetKind::Label:
        return {L"STATIC", SS_LEFT, 0};
    case GadgetKind::CentredLabel:
        return {L"STATIC", SS_CENTER, 0};
    case GadgetKind::TextField:
        return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case GadgetKind::MaskedField:
        return {L"EDIT", ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case GadgetKind::Button:
        return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case GadgetKind::CheckBox:
        return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case GadgetKind::Frame:
        return {L"BUTTON", BS_GROUPBOX, 0};
    case GadgetKind::ListCombo:
        return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case GadgetKind::EditCombo:
        return {L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", 0, 0};
}

// Push buttons report a right click as an event of their own.
LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR) {
    if (message == WM_RBUTTONUP) {
        Event event;
        event.kind = EventKind::Gadget;
        event.number = GetDlgCtrlID(button);
        event.action = kRightClicked;
        const HWND top = GetAncestor(button, GA_ROOT);
        event.window = static_cast<int>(GetWindowLongPtrW(top, GWLP_USERDATA));
        DispatchEvent(event);
        return 0;
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

HWND toolTip = nullptr;

HWND ToolTipControl(HWND owner) {
    if (toolTip == nullptr || !IsWindow(toolTip)) {
        toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                  TheProgram().instance, nullptr);
        SendMessageW(toolTip, TTM_SETMAXTIPWIDTH, 0, 600);
    }
    return toolTip;
}

} // namespace

void RegisterWindowClass(const wchar_t* className, WNDPROC procedure) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = TheProgram().instance;
    wc.hIcon = LoadIconW(TheProgram().instance, MAKEINTRESOURCEW(IDI_QUARNEL));
    wc.hIconSm = TheProgram().trayImage.get();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    RegisterClassExW(&wc); // fails harmlessly when the class is registered already
}

UINT WindowDpi(HWND window) {
    if (window == nullptr) {
        // Windows without a place of their own open centred on the primary monitor,
        // whose resolution the system's is.
        return GetDpiForSystem();
    }
    const UINT dpi = GetDpiForWindow(window);
    return dpi == 0 ? 96 : dpi;
}

HWND CreateGadget(HWND parent, const GadgetSpec& layout) {
    const KindStyle ks = StyleOf(layout.kind);
    const UINT dpi = WindowDpi(parent);
    HWND control = CreateWindowExW(
        ks.exStyle, ks.className, Widen(layout.text ? layout.text : "").c_str(),
        WS_CHILD | WS_VISIBLE | ks.style, ScaleForDpi(layout.x, dpi), ScaleForDpi(layout.y, dpi),
        ScaleForDpi(layout.width, dpi), ScaleForDpi(layout.height, dpi), parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.number)), TheProgram().instance,
        nullptr);
    if (control == nullptr) {
        return nullptr;
    }
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(ProgramFont(layout.font, dpi)),
                 FALSE);
    if (layout.kind == GadgetKind::Button) {
        SetWindowSubclass(control, ButtonProc, 1, 0);
    }
    return control;
}

void FollowDpiChange(HWND window, WPARAM wParam, LPARAM lParam,
                     std::span<const GadgetSpec> gadgets) {
    const UINT dpi = HIWORD(wParam);
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const GadgetSpec& layout : gadgets) {
        const HWND control = GetDlgItem(window, layout.number);
        // The font first: a combo box sizes its list by the height of its field.
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(ProgramFont(layout.font, dpi)),
                     TRUE);
        SetWindowPos(control, nullptr, ScaleForDpi(layout.x, dpi), ScaleForDpi(layout.y, dpi),
                     ScaleForDpi(layout.width, dpi), ScaleForDpi(layout.height, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void AddToolTip(HWND control, const std::string& text) {
    const HWND tip = ToolTipControl(GetAncestor(control, GA_ROOT));
    std::wstring wide = Widen(text);
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(control);
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = wide.data();
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

SIZE OuterSizeForClient(DWORD style, DWORD exStyle, int clientWidth, int clientHeight, UINT dpi) {
    RECT rect{0, 0, ScaleForDpi(clientWidth, dpi), ScaleForDpi(clientHeight, dpi)};
    AdjustWindowRectExForDpi(&rect, style, FALSE, exStyle, dpi);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

POINT CentredOnScreen(SIZE outer) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    return {screenWidth / 2 - std::min<int>(outer.cx, screenWidth) / 2,
            screenHeight / 2 - std::min<int>(outer.cy, screenHeight) / 2};
}

std::string GadgetText(HWND parent, int number) {
    const HWND control = GetDlgItem(parent, number);
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(control, text.data(), length + 1);
    return Narrow(text);
}

void SetGadgetText(HWND parent, int number, const std::string& text) {
    QuietChanges quiet;
    SetWindowTextW(GetDlgItem(parent, number), Widen(text).c_str());
}

bool IsGadgetChecked(HWND parent, int number) {
    return IsDlgButtonChecked(parent, number) == BST_CHECKED;
}

void SetGadgetChecked(HWND parent, int number, bool checked) {
    QuietChanges quiet;
    CheckDlgButton(parent, number, checked ? BST_CHECKED : BST_UNCHECKED);
}

void AddComboEntry(HWND parent, int number, const std::string& text) {
    QuietChanges quiet;
    SendDlgItemMessageW(parent, number, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void SelectComboEntry(HWND parent, int number, int index) {
    QuietChanges quiet;
    SendDlgItemMessageW(parent, number, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int ComboSelection(HWND parent, int number) {
    return static_cast<int>(SendDlgItemMessageW(parent, number, CB_GETCURSEL, 0, 0));
}

std::string ComboEntry(HWND parent, int number, int index) {
    const LRESULT length = SendDlgItemMessageW(parent, number, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendDlgItemMessageW(parent, number, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return Narrow(text);
}

int ComboEntryCount(HWND parent, int number) {
    return static_cast<int>(SendDlgItemMessageW(parent, number, CB_GETCOUNT, 0, 0));
}

} // namespace quarnel
