#include "vault/password_prompt.h"

#include "win/text.h"

namespace quarnel {

namespace {

constexpr wchar_t kClassName[] = L"QuarnelPasswordPrompt";
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

class PasswordPrompt : public RowWindow<PasswordPrompt> {
  public:
    PasswordPrompt(const WindowEnv& env, const std::function<bool(const std::string&)>& accept,
                   const char* question)
        : RowWindow(env), accept_(accept), question_(question) {}

    static std::span<const GadgetRow<PasswordPrompt>> Rows();

    std::optional<std::string> Run() {
        const SIZE outer = OuterSizeForClient(kStyle, 0, 302, 145, WindowDpi(nullptr));
        if (!Open(kClassName, "Quarnel Passwortabfrage", kStyle, 0,
                  {CentredOnScreen(outer), outer})) {
            return std::nullopt;
        }
        CreateGadgets();
        SetGadgetText(Handle(), kPromptTextLabel, question_);
        ShowCentred(302, 145);
        SetForegroundWindow(Handle());
        FocusFirstControl();
        MSG message;
        while (!done_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (!TranslateDialogKeys(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        if (!done_) {
            PostQuitMessage(static_cast<int>(message.wParam)); // for the loop after us
        }
        Close();
        return result_;
    }

    void Confirm() {
        if (done_) {
            return;
        }
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

    // Leaving the field goes to the button, wherever the focus was meant to go.
    void FocusButton() {
        if (!done_) {
            SetFocus(GetDlgItem(Handle(), kPromptOkButton));
        }
    }

  protected:
    void OnDefault() override { Confirm(); }
    // Esc leaves the prompt open: closing it withholds every stored password for the run,
    // which a key pressed by mistake must not do.
    void OnCancel() override {}
    void OnCloseRequest() override { done_ = true; }

  private:
    const std::function<bool(const std::string&)>& accept_;
    const char* question_;
    std::optional<std::string> result_;
    bool done_ = false;
};

using Row = GadgetRow<PasswordPrompt>;
const Row kRows[] = {
    {{kPromptNameLabel, GadgetKind::CentredLabel, 0, 15, 305, 25, "Ulvas Quarnel", 4}},
    {{kPromptTextLabel, GadgetKind::CentredLabel, 0, 45, 305, 25, "Masterpasswort eingeben:", 5}},
    {{kPromptPasswordField, GadgetKind::MaskedField, 45, 75, 210, 20},
     kFocusLost,
     &PasswordPrompt::FocusButton},
    {{kPromptWrongLabel, GadgetKind::CentredLabel, 0, 96, 302, 13}},
    {{kPromptOkButton, GadgetKind::Button, 105, 110, 80, 25, "OK"},
     kClicked,
     &PasswordPrompt::Confirm},
};

std::span<const GadgetRow<PasswordPrompt>> PasswordPrompt::Rows() {
    return kRows;
}

} // namespace

std::optional<std::string> AskMasterPassword(const WindowEnv& env,
                                             const std::function<bool(const std::string&)>& accept,
                                             const char* question) {
    PasswordPrompt prompt(env, accept, question);
    return prompt.Run();
}

} // namespace quarnel
