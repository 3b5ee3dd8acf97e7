#include "win/gadgets.h"

#include "win/dpi.h"
#include "win/events.h"
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
        return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case GadgetKind::CentredLabel:
        return {L"STATIC", SS_CENTER | SS_NOPREFIX, 0};
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
    case GadgetKind::ListBox:
        return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", 0, 0};
}

// Push buttons report a right click, the context-menu key and Shift+F10 alike, as a
// command of their own. The system turns the first two into WM_CONTEXTMENU on the button;
// Shift+F10 is taken here, its key-up too, which would otherwise open the menu bar.
LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                            DWORD_PTR) {
    const bool shiftF10 = (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) &&
                          wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0;
    if (message == WM_CONTEXTMENU || (shiftF10 && message == WM_SYSKEYDOWN)) {
        SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), kRightClicked),
                     reinterpret_cast<LPARAM>(button));
        return 0;
    }
    if (shiftF10) {
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(button, ButtonProc, id);
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

// Edges are scaled, not the size: a gadget that ends where another begins, or where the
// client area ends, still does at any resolution.
RECT Place(const GadgetSpec& layout, UINT dpi) {
    return {ScaleForDpi(layout.x, dpi), ScaleForDpi(layout.y, dpi),
            ScaleForDpi(layout.x + layout.width, dpi), ScaleForDpi(layout.y + layout.height, dpi)};
}

} // namespace

UINT WindowDpi(HWND window) {
    if (window == nullptr) {
        // Windows without a place of their own open centred on the primary monitor,
        // whose resolution the system's is.
        return GetDpiForSystem();
    }
    const UINT dpi = GetDpiForWindow(window);
    return dpi == 0 ? 96 : dpi;
}

HWND CreateGadget(HWND parent, const GadgetSpec& layout, Fonts& fonts, HINSTANCE instance) {
    const KindStyle ks = StyleOf(layout.kind);
    const UINT dpi = WindowDpi(parent);
    const RECT place = Place(layout, dpi);
    HWND control = CreateWindowExW(
        ks.exStyle, ks.className, Widen(layout.text ? layout.text : "").c_str(),
        WS_CHILD | WS_VISIBLE | ks.style, place.left, place.top, place.right - place.left,
        place.bottom - place.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.number)), instance, nullptr);
    if (control == nullptr) {
        return nullptr;
    }
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(layout.font, dpi)), FALSE);
    if (layout.kind == GadgetKind::Button) {
        SetWindowSubclass(control, ButtonProc, 1, 0);
    }
    return control;
}

void FollowDpiChange(HWND window, WPARAM wParam, LPARAM lParam, std::span<const GadgetSpec> gadgets,
                     Fonts& fonts) {
    const UINT dpi = HIWORD(wParam);
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const GadgetSpec& layout : gadgets) {
        const HWND control = GetDlgItem(window, layout.number);
        // The font first: a combo box sizes its list by the height of its field.
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(layout.font, dpi)),
                     TRUE);
        const RECT place = Place(layout, dpi);
        SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
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

std::wstring WideGadgetText(HWND parent, int number) {
    const HWND control = GetDlgItem(parent, number);
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
    return text;
}

std::string GadgetText(HWND parent, int number) {
    return Narrow(WideGadgetText(parent, number));
}

std::optional<std::string> ExactGadgetText(HWND parent, int number) {
    return NarrowExact(WideGadgetText(parent, number));
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

void EnableGadget(HWND parent, int number, bool enabled) {
    EnableWindow(GetDlgItem(parent, number), enabled ? TRUE : FALSE);
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
