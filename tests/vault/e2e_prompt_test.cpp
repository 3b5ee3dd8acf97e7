// The master password prompt of the real quarnel.exe. Which master password the program
// took shows in what the stand-in putty.exe receives as -pw for a session whose password
// was stored under a known master password.
#include "testkit/fake_putty_log.h"
#include "testkit/quarnel_setup.h"
#include "testkit/ui_driver.h"
#include "vault/cipher.h"
#include "win/text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

namespace quarnel {
namespace {

using test::App;
using test::Window;

const std::string kPromptTitle = "Quarnel Passwortabfrage";
constexpr int kNameLabel = 32;
constexpr int kTextLabel = 33;
constexpr int kPasswordField = 34;
constexpr int kOkButton = 35;
constexpr int kHostField = 24;
constexpr int kSessionItem = 1000;

// Stored for the one session under this master password. Deciphered under the empty
// master password it gives other printable bytes; under "Falsch" control characters.
const std::string kPassword = "geheim";
const std::string kStoredUnder = "Meister";

std::vector<std::wstring> AfterProgram(const test::FakePuttyStart& start) {
    if (start.arguments.empty()) {
        return {};
    }
    return {start.arguments.begin() + 1, start.arguments.end()};
}

bool HasControlCharacter(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return true;
        }
    }
    return false;
}

// A window's rectangle in the client coordinates of another.
RECT RectIn(const Window& window, const Window& parent) {
    RECT rect = window.WindowRect();
    MapWindowPoints(HWND_DESKTOP, parent.Handle(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class PromptE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        setup_.WithFakePutty()
            .Setting("Passwortfunktionalitaet", "1")
            .Session("Tresor", "", kPassword, kStoredUnder);
    }

    // Starts the program and waits for the prompt, the only window it shows then.
    Window StartToPrompt() {
        app_ = std::make_unique<App>();
        const Window prompt = app_->WaitForWindow(test::TitleIs(kPromptTitle));
        prompt.WaitUntilIdle(); // its controls are there
        return prompt;
    }

    Window WaitForMain() {
        const Window main = app_->WaitForWindow(test::TitleStartsWith(test::kMainTitlePrefix));
        main.WaitUntilIdle();
        return main;
    }

    HWND Focused() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(app_->MainThreadId(), &info);
        return info.hwndFocus;
    }

    // Takes the keyboard focus away from the control that has it, to the top-level
    // window, as a click on a place that takes no focus would.
    void FocusTopLevel(const Window& window) {
        const DWORD self = GetCurrentThreadId();
        ASSERT_TRUE(AttachThreadInput(self, window.ThreadId(), TRUE));
        SetFocus(window.Handle());
        AttachThreadInput(self, window.ThreadId(), FALSE);
    }

    test::QuarnelSetup setup_;
    test::FakePuttyLog log_;
    std::unique_ptr<App> app_;
};

enum class Answer {
    ReturnInField,
    ClickOk,
    MouseOnOk,
    ReturnOnOk,
    EscapeThenReturn,
    CloseBox,
    AltF4
};

TEST_F(PromptE2E, TheMasterPasswordTakenIsWhatTheSessionPasswordIsDecipheredWith) {
    const struct {
        const char* how;
        const char* typed;
        Answer answer;
        const char* taken; // MasterPassword afterwards
    } cases[] = {
        {"Return in the field", "Meister", Answer::ReturnInField, "Meister"},
        {"OK clicked", "Meister", Answer::ClickOk, "Meister"},
        {"OK clicked with the mouse, wrong password", "Falsch", Answer::MouseOnOk, "Falsch"},
        {"Return on OK after the field lost the focus", "Meister", Answer::ReturnOnOk, "Meister"},
        {"Return in the empty field", "", Answer::ReturnInField, ""},
        {"Escape is no answer", "Meister", Answer::EscapeThenReturn, "Meister"},
        {"close box after typing", "Meister", Answer::CloseBox, ""},
        {"Alt+F4 after typing", "Meister", Answer::AltF4, ""},
    };
    // Both ways a wrong master password can go are covered.
    ASSERT_FALSE(
        HasControlCharacter(PasswordDecrypt(PasswordEncrypt(kPassword, kStoredUnder), "")));
    ASSERT_TRUE(
        HasControlCharacter(PasswordDecrypt(PasswordEncrypt(kPassword, kStoredUnder), "Falsch")));

    size_t starts = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        const Window prompt = StartToPrompt();
        EXPECT_FALSE(app_->FindWindow({test::kMainTitlePrefix, true, "", false}))
            << "the main window exists before the master password is given";
        const Window field = prompt.Control(kPasswordField);
        EXPECT_EQ(Focused(), field.Handle());
        field.Type(c.typed);

        switch (c.answer) {
        case Answer::ReturnInField:
            field.PressKey(VK_RETURN);
            break;
        case Answer::ClickOk:
            prompt.Control(kOkButton).Click();
            break;
        case Answer::MouseOnOk:
            prompt.Control(kOkButton).MouseClick();
            break;
        case Answer::ReturnOnOk:
            FocusTopLevel(prompt);
            ASSERT_TRUE(test::WaitUntil([&] {
                return Focused() == prompt.Control(kOkButton).Handle();
            })) << "the focus went to "
                << Window(Focused()).Describe();
            app_->PressKey(VK_RETURN);
            break;
        case Answer::EscapeThenReturn:
            field.PressKey(VK_ESCAPE);
            prompt.WaitUntilIdle();
            ASSERT_TRUE(prompt.Exists()) << "Escape closed the prompt";
            EXPECT_FALSE(app_->FindWindow({test::kMainTitlePrefix, true, "", false}));
            field.PressKey(VK_RETURN);
            break;
        case Answer::CloseBox:
            prompt.Close();
            break;
        case Answer::AltF4: {
            constexpr LPARAM kAltDown = LPARAM{1} << 29;
            field.Post(WM_SYSKEYDOWN, VK_F4, 1 | kAltDown);
            field.Post(WM_SYSKEYUP, VK_F4, 1 | kAltDown | (LPARAM{3} << 30));
            break;
        }
        }
        const Window main = WaitForMain();
        EXPECT_FALSE(prompt.Exists());
        EXPECT_FALSE(app_->FindWindow(test::TitleIs(kPromptTitle)));

        main.ChooseFromMenuBar(kSessionItem);
        const auto records = log_.WaitFor(++starts);
        ASSERT_EQ(records.size(), starts);
        const std::string password =
            PasswordDecrypt(PasswordEncrypt(kPassword, kStoredUnder), c.taken);
        std::vector<std::wstring> expected;
        if (!HasControlCharacter(password)) {
            expected = {L"-pw", Widen(password)};
        }
        expected.push_back(L"-load");
        expected.push_back(L"Tresor");
        EXPECT_EQ(AfterProgram(records.back()), expected) << Narrow(records.back().commandLine);

        // The main window is the active one now: Return in its host field connects.
        main.Control(kHostField).SetText("after.prompt");
        EXPECT_EQ(Focused(), main.Control(kHostField).Handle());
        app_->PressKey(VK_RETURN);
        const auto more = log_.WaitFor(++starts);
        ASSERT_EQ(more.size(), starts);
        EXPECT_EQ(AfterProgram(more.back()), (std::vector<std::wstring>{L"-ssh", L"after.prompt"}));

        main.Close();
        EXPECT_EQ(app_->WaitForExit(), 0u);
    }
}

TEST_F(PromptE2E, NoPromptWhileThePasswordFunctionIsOff) {
    setup_.Setting("Passwortfunktionalitaet", "0");
    app_ = std::make_unique<App>();
    // Nobody answers a prompt here: the main window comes all the same.
    const Window main = WaitForMain();
    EXPECT_FALSE(app_->FindWindow({kPromptTitle, false, "", false}));
    main.ChooseFromMenuBar(kSessionItem);
    const auto records = log_.WaitFor(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(AfterProgram(records[0]), (std::vector<std::wstring>{L"-load", L"Tresor"}));
}

// Switched on in the configuration window, the function reads stored passwords at the
// next launch, under the empty master password since no prompt was shown.
TEST_F(PromptE2E, SwitchedOnLaterTheEmptyMasterPasswordDeciphers) {
    test::QuarnelSetup setup; // afresh, the password stored under the empty master password
    setup.WithFakePutty()
        .Setting("Passwortfunktionalitaet", "0")
        .Session("Tresor", "", kPassword, "");
    app_ = std::make_unique<App>();
    const Window main = WaitForMain();
    main.ChooseFromMenuBar(910);
    const Window config = app_->WaitForWindow(test::TitleStartsWith("Quarnel Konfiguration"));
    config.WaitUntilIdle();
    const Window check = config.Control(10);
    ASSERT_FALSE(check.IsChecked());

    const std::vector<std::wstring> withPassword = {L"-pw", Widen(kPassword), L"-load", L"Tresor"};
    const std::vector<std::wstring> without = {L"-load", L"Tresor"};
    size_t starts = 0;
    for (const bool on : {false, true, false, true}) {
        SCOPED_TRACE(on ? "on" : "off");
        if (check.IsChecked() != on) {
            check.Click();
        }
        main.ChooseFromMenuBar(kSessionItem);
        const auto records = log_.WaitFor(++starts);
        ASSERT_EQ(records.size(), starts);
        EXPECT_EQ(AfterProgram(records.back()), on ? withPassword : without);
    }
    EXPECT_FALSE(app_->FindWindow(test::TitleIs(kPromptTitle)));
}

TEST_F(PromptE2E, Layout) {
    const Window prompt = StartToPrompt();
    const RECT client = prompt.ClientRect();
    EXPECT_EQ(client.right - client.left, 302);
    EXPECT_EQ(client.bottom - client.top, 145);

    const LONG style = GetWindowLongW(prompt.Handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME),
              WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    // Centred on the screen.
    const RECT outer = prompt.WindowRect();
    EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    const struct {
        int number;
        const char* className;
        RECT place;
        const char* text;
    } gadgets[] = {
        {kNameLabel, "Static", {0, 15, 305, 40}, "Ulvas Quarnel"},
        {kTextLabel, "Static", {0, 45, 305, 70}, "Masterpasswort eingeben:"},
        {kPasswordField, "Edit", {45, 75, 255, 95}, ""},
        {kOkButton, "Button", {105, 110, 185, 135}, "OK"},
    };
    for (const auto& g : gadgets) {
        SCOPED_TRACE(g.number);
        const Window gadget = prompt.Control(g.number);
        EXPECT_STRCASEEQ(gadget.ClassName().c_str(), g.className);
        const RECT place = RectIn(gadget, prompt);
        EXPECT_EQ(place.left, g.place.left);
        EXPECT_EQ(place.top, g.place.top);
        EXPECT_EQ(place.right, g.place.right);
        EXPECT_EQ(place.bottom, g.place.bottom);
        EXPECT_EQ(gadget.Text(), g.text);
        EXPECT_TRUE(gadget.IsVisible());
    }
    EXPECT_TRUE(GetWindowLongW(prompt.Control(kNameLabel).Handle(), GWL_STYLE) & SS_CENTER);
    EXPECT_TRUE(GetWindowLongW(prompt.Control(kTextLabel).Handle(), GWL_STYLE) & SS_CENTER);
    // Typed characters are masked.
    EXPECT_NE(prompt.Control(kPasswordField).Send(EM_GETPASSWORDCHAR, 0, 0), 0);

    // The controls keep their places when the window is made larger.
    const RECT before = RectIn(prompt.Control(kOkButton), prompt);
    SetWindowPos(prompt.Handle(), nullptr, 0, 0, outer.right - outer.left + 200,
                 outer.bottom - outer.top + 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    prompt.WaitUntilIdle();
    const RECT after = RectIn(prompt.Control(kOkButton), prompt);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);

    prompt.Close();
    const Window main = WaitForMain();
    main.Close();
    EXPECT_EQ(app_->WaitForExit(), 0u);
}

} // namespace
} // namespace quarnel
