// The master password prompt of the real quarnel.exe. The master password it took shows
// in what the stand-in putty.exe reads through -pwfile for the session "Tresor".
#include "testkit/fake_putty_log.h"
#include "testkit/quarnel_setup.h"
#include "testkit/ui_driver.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

namespace quarnel {
namespace {

TEST(PromptE2E, TheMasterPasswordTakenOrRefusedShowsInWhatPuttyGets) {
    enum Answer { Return, Ok, CloseBox, EscapeThenReturn };
    const struct {
        const char* storedUnder; // the master password "geheim" was stored under
        bool checked;            // its check is stored too
        const char* wrong;       // typed and refused first; nullptr: none
        const char* typed;
        Answer answer;
        std::optional<std::string> handed; // what PuTTY reads; nothing: no password at all
    } cases[] = {
        {"Meister", false, nullptr, "Meister", Return, "geheim\n"},
        {"Meister", false, nullptr, "Meister", Ok, "geheim\n"},
        {"Meister", false, nullptr, "Meister", EscapeThenReturn, "geheim\n"}, // Escape does nothing
        {"", false, nullptr, "", Return, "geheim\n"},
        {"", false, nullptr, "Meister", CloseBox, "geheim\n"}, // closing leaves it empty
        {"Meister", true, "Meisterin", "Meister", Return, "geheim\n"},
        {"Meister", true, "Meisterin", "Meister", CloseBox, std::nullopt},
    };
    test::FakePuttyLog log;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(i);
        test::QuarnelSetup setup;
        setup.WithFakePutty()
            .Setting("Passwortfunktionalitaet", "1")
            .Session("Tresor", "", "geheim", c.storedUnder);
        if (c.checked) {
            setup.MasterCheckOf(c.storedUnder);
        }
        test::App app;
        const test::Window prompt = app.WaitForWindow(test::TitleIs("Quarnel Passwortabfrage"));
        prompt.WaitUntilIdle();
        if (i == 0) { // the layout: client area, then each control's place and text
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
            for (const auto& control : controls) {
                RECT place = prompt.Control(control.number).WindowRect();
                MapWindowPoints(HWND_DESKTOP, prompt.Handle(), reinterpret_cast<POINT*>(&place), 2);
                EXPECT_TRUE(EqualRect(&place, &control.place)) << control.number;
                EXPECT_EQ(prompt.Control(control.number).Text(), control.text);
            }
            EXPECT_NE(prompt.Control(34).Send(EM_GETPASSWORDCHAR, 0, 0), 0);
        }
        if (c.wrong != nullptr) {
            prompt.Control(34).Type(c.wrong);
            prompt.Control(34).PressKey(VK_RETURN);
            prompt.WaitUntilIdle();
            EXPECT_TRUE(prompt.IsVisible());
            EXPECT_EQ(prompt.Control(34).Text(), "");
            EXPECT_EQ(prompt.Control(44).Text(), "Falsches Masterpasswort");
        }
        prompt.Control(34).Type(c.typed);
        if (c.answer == Return) {
            prompt.Control(34).PressKey(VK_RETURN);
        } else if (c.answer == EscapeThenReturn) {
            prompt.Control(34).PressKey(VK_ESCAPE);
            prompt.WaitUntilIdle();
            EXPECT_TRUE(prompt.IsVisible());
            prompt.Control(34).PressKey(VK_RETURN);
        } else if (c.answer == Ok) {
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
        EXPECT_EQ(starts[i].passwordFile, c.handed);
        if (!c.handed) {
            EXPECT_EQ(std::vector(starts[i].arguments.begin() + 1, starts[i].arguments.end()),
                      (std::vector<std::wstring>{L"-load", L"Tresor"}));
        }
    }
}

} // namespace
} // namespace quarnel
