#include "vault/password_prompt.h"

#include "app/controls.h"
#include "app/events.h"
#include "app/program.h"
#include "sessions/session_menu.h"

namespace quarnel {

namespace {

constexpr wchar_t kClassName[] = L"QuarnelPasswordPrompt";
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

struct PasswordPrompt {
    HWND window = nullptr;
    bool done = false;
};
PasswordPrompt prompt;

const GadgetSpec kGadgets[] = {
    {kPromptNameLabel, GadgetKind::CentredLabel, 0, 15, 305, 25, "Ulvas Quarnel", 4},
    {kPromptTextLabel, GadgetKind::CentredLabel, 0, 45, 305, 25, "Masterpasswort eingeben:", 5},
    {kPromptPasswordField, GadgetKind::MaskedField, 45, 75, 210, 20, ""},
    {kPromptOkButton, GadgetKind::Button, 105, 110, 80, 25, "OK"},
};

void Confirm() {
    TheProgram().masterPassword = GadgetText(prompt.window, kPromptPasswordField);
    prompt.done = true;
}

LRESULT CALLBACK PromptProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int number = LOWORD(wParam);
        const int action = HIWORD(wParam);
        if (QuietChanges::Active() || prompt.done) {
            return 0; // also the focus change while the prompt goes away
        }
        if (lParam == 0 && action == 1) {
            // The Return shortcut (code 1: from an accelerator): any menu event confirms.
            // The dialog keys send commands without a control too (IDCANCEL on Escape),
            // but those are no menu events.
            Confirm();
        } else if (number == kPromptOkButton && action == BN_CLICKED) {
            Confirm();
        } else if (number == kPromptPasswordField && action == EN_KILLFOCUS) {
            SetFocus(GetDlgItem(window, kPromptOkButton));
        }
        return 0;
    }
    case WM_CLOSE:
        prompt.done = true;
        return 0;
    case WM_DPICHANGED:
        FollowDpiChange(window, wParam, lParam, kGadgets);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

void AskMasterPassword() {
    Program& program = TheProgram();
    RegisterWindowClass(kClassName, PromptProc);

    const SIZE outer = OuterSizeForClient(kStyle, 0, 302, 145, WindowDpi(nullptr));
    const POINT corner = CentredOnScreen(outer);
    prompt = {};
    prompt.window =
        CreateWindowExW(0, kClassName, L"Quarnel Passwortabfrage", kStyle | WS_VISIBLE, corner.x,
                        corner.y, outer.cx, outer.cy, nullptr, nullptr, program.instance, nullptr);
    if (prompt.window == nullptr) {
        return;
    }
    SetWindowLongPtrW(prompt.window, GWLP_USERDATA, kPasswordWindow);
    for (const GadgetSpec& layout : kGadgets) {
        CreateGadget(prompt.window, layout);
    }
    SetForegroundWindow(prompt.window);
    SetFocus(GetDlgItem(prompt.window, kPromptPasswordField));

    ACCEL accel{FVIRTKEY, VK_RETURN, kReturnShortcut};
    HACCEL shortcut = CreateAcceleratorTableW(&accel, 1);
    MSG message;
    while (!prompt.done && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(prompt.window, shortcut, &message) ||
            IsDialogMessageW(prompt.window, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DestroyAcceleratorTable(shortcut);
    DestroyWindow(prompt.window);
    prompt.window = nullptr;
}

} // namespace quarnel
