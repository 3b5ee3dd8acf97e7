#include "vault/password_prompt.h"

#include "win/handles.h"
#include "win/text.h"

namespace quarnel {

namespace {

constexpr wchar_t kClassName[] = L"QuarnelPasswordPrompt";
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr int kReturnShortcut = 111;

const GadgetSpec kGadgets[] = {
    {kPromptNameLabel, GadgetKind::CentredLabel, 0, 15, 305, 25, "Ulvas Quarnel", 4},
    {kPromptTextLabel, GadgetKind::CentredLabel, 0, 45, 305, 25, "Masterpasswort eingeben:", 5},
    {kPromptPasswordField, GadgetKind::MaskedField, 45, 75, 210, 20},
    {kPromptWrongLabel, GadgetKind::CentredLabel, 0, 96, 302, 13},
    {kPromptOkButton, GadgetKind::Button, 105, 110, 80, 25, "OK"},
};

class PasswordPrompt : public TopWindow, private EventSink {
  public:
    PasswordPrompt(const WindowEnv& env, const std::function<bool(const std::string&)>& accept)
        : TopWindow(WithSink(env, this), kPromptWindowNumber), accept_(accept) {}

    std::optional<std::string> Run() {
        const SIZE outer = OuterSizeForClient(kStyle, 0, 302, 145, WindowDpi(nullptr));
        if (!Open(kClassName, "Quarnel Passwortabfrage", kStyle | WS_VISIBLE, 0,
                  {CentredOnScreen(outer), outer})) {
            return std::nullopt;
        }
        CreateGadgets({std::begin(kGadgets), std::end(kGadgets)});
        SetForegroundWindow(Handle());
        SetFocus(GetDlgItem(Handle(), kPromptPasswordField));

        ACCEL accel{FVIRTKEY, VK_RETURN, kReturnShortcut};
        const UniqueAccelerators shortcut(CreateAcceleratorTableW(&accel, 1));
        MSG message;
        while (!done_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (TranslateAcceleratorW(Handle(), shortcut.get(), &message) ||
                IsDialogMessageW(Handle(), &message)) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam)); // for the loop after us
        }
        return result_;
    }

  private:
    static WindowEnv WithSink(WindowEnv env, EventSink* sink) {
        env.events = sink;
        return env;
    }

    void OnEvent(const Event& event) override {
        if (done_) {
            return; // also the focus change while the prompt goes away
        }
        if (event.kind == EventKind::Close) {
            done_ = true;
        } else if (event.kind == EventKind::Menu && event.action == 1) {
            // The Return shortcut (code 1: from an accelerator) confirms. The dialog keys
            // send commands without a control too (IDCANCEL on Escape), but those are
            // no menu events.
            Confirm();
        } else if (event.kind == EventKind::Gadget && event.number == kPromptOkButton &&
                   event.action == kClicked) {
            Confirm();
        } else if (event.kind == EventKind::Gadget && event.number == kPromptPasswordField &&
                   event.action == EN_KILLFOCUS) {
            SetFocus(GetDlgItem(Handle(), kPromptOkButton));
        }
    }

    void Confirm() {
        const std::optional<std::string> typed = ExactGadgetText(Handle(), kPromptPasswordField);
        if (typed && accept_(*typed)) {
            result_ = typed;
            done_ = true;
            return;
        }
        SetGadgetText(Handle(), kPromptPasswordField, "");
        SetGadgetText(Handle(), kPromptWrongLabel, "Falsches Masterpasswort");
        SetFocus(GetDlgItem(Handle(), kPromptPasswordField));
    }

    const std::function<bool(const std::string&)>& accept_;
    std::optional<std::string> result_;
    bool done_ = false;
};

} // namespace

std::optional<std::string>
AskMasterPassword(const WindowEnv& env, const std::function<bool(const std::string&)>& accept) {
    PasswordPrompt prompt(env, accept);
    return prompt.Run();
}

} // namespace quarnel
