// The master password prompt of the real quarnel.exe. The master password it took shows
// in the -pw that the stand-in putty.exe gets for a session stored under "Meister".
#include "testkit/fake_putty_log.h"
#include "testkit/quarnel_setup.h"
#include "testkit/ui_driver.h"
#include "vault/cipher.h"
#include "win/text.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(PromptE2E, ReturnAndOkTakeTheFieldAndClosingLeavesTheMasterPasswordEmpty) {
    enum Answer { Return, Ok, CloseBox, EscapeThenReturn };
    const struct {
        const char* typed;
        Answer answer;
        const char* master; // taken
    } cases[] = {
        {"Meister", Return, "Meister"},
        {"Meister", Ok, "Meister"},
        {"", Return, ""},
        {"Meister", CloseBox, ""},
        {"Meister", EscapeThenReturn, "Meister"}, // Escape neither confirms nor closes
    };
    test::FakePuttyLog log;
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        test::QuarnelSetup setup;
        setup.WithFakePutty()
            .Setting("Passwortfunktionalitaet", "1")
            .Session("Tresor", "", "geheim", "Meister");
        test::App app;
        const test::Window prompt = app.WaitForWindow(test::TitleIs("Quarnel Passwortabfrage"));
        prompt.WaitUntilIdle();

        // The layout: client area, then each control's place in it and its text.
        const RECT client = prompt.ClientRect();
        EXPECT_EQ(std::make_pair(client.right, client.bottom), std::make_pair(302L, 145L));
        const struct {
            int number;
            RECT place;
            const char* text;
        } controls[] = {
            {32, {0, 15, 305, 40}, "Ulvas Quarnel"},
            {33, {0, 45, 305, 70}, "Masterpasswort eingeben:"},
            {34, {45, 75, 255, 95}, ""},
            {35, {105, 110, 185, 135}, "OK"},
        };
        for (const auto& c : controls) {
            const test::Window control = prompt.Control(c.number);
            RECT place = control.WindowRect();
            MapWindowPoints(HWND_DESKTOP, prompt.Handle(), reinterpret_cast<POINT*>(&place), 2);
            EXPECT_TRUE(EqualRect(&place, &c.place)) << c.number;
            EXPECT_EQ(control.Text(), c.text);
        }
        EXPECT_NE(prompt.Control(34).Send(EM_GETPASSWORDCHAR, 0, 0), 0);

        prompt.Control(34).Type(cases[i].typed);
        if (cases[i].answer == Return) {
            prompt.Control(34).PressKey(VK_RETURN);
        } else if (cases[i].answer == EscapeThenReturn) {
            prompt.Control(34).PressKey(VK_ESCAPE);
            prompt.WaitUntilIdle();
            EXPECT_TRUE(prompt.IsVisible());
            prompt.Control(34).PressKey(VK_RETURN);
        } else if (cases[i].answer == Ok) {
            prompt.Control(35).Click();
        } else {
            prompt.Close();
        }
        const test::Window main = app.WaitForWindow(test::TitleStartsWith(test::kMainTitlePrefix));
        main.WaitUntilIdle();
        EXPECT_FALSE(prompt.Exists());
        main.ChooseFromMenuBar(1000);
        const auto starts = log.WaitFor(i + 1);
        ASSERT_EQ(starts.size(), i + 1);
        // Under the empty master password the stored value deciphers to other, printable text.
        const std::string password =
            PasswordDecrypt(PasswordEncrypt("geheim", "Meister"), cases[i].master);
        EXPECT_EQ(starts[i].arguments,
                  (std::vector<std::wstring>{starts[i].arguments.at(0), L"-pw", Widen(password),
                                             L"-load", L"Tresor"}));
    }
}

} // namespace
} // namespace quarnel
