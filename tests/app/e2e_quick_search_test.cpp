// The quick search as a user meets it: the global hotkey from anywhere, typing, Return.
#include "testkit/e2e_fixture.h"
#include "win/text.h"

namespace quarnel::test {
namespace {

constexpr int kField = 42, kList = 43;
const std::string kSearchTitle = "Quarnel Schnellsuche";

// Strg+Alt+P as the keyboard gives it, to whichever program holds it.
void PressHotkey() {
    INPUT keys[6] = {};
    const WORD order[] = {VK_CONTROL, VK_MENU, 'P'};
    for (int i = 0; i < 3; ++i) {
        keys[i].type = keys[5 - i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = keys[5 - i].ki.wVk = order[i];
        keys[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    ASSERT_EQ(SendInput(6, keys, sizeof(INPUT)), 6u);
}

std::vector<std::string> Rows(const Window& list) {
    std::vector<std::string> rows;
    const int count = static_cast<int>(list.Send(LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(list.Send(LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        list.Send(LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        rows.push_back(Narrow(text.c_str()));
    }
    return rows;
}

class QuickSearchE2E : public E2eTest {
  protected:
    Window OpenSearch() {
        PressHotkey();
        const Window search = app_->WaitForWindow(TitleIs(kSearchTitle));
        search.WaitUntilIdle();
        return search;
    }
};

TEST_F(QuickSearchE2E, TheHotkeyOpensItTypingNarrowsAndReturnStartsTheSession) {
    setup_.WithFakePutty()
        .Session("web%20server", "Kunden")
        .Session("mail")
        .Session("M%FCnchen%20web", "Filialen");
    Start();
    main_.Minimize(); // from the tray too
    Window search = OpenSearch();
    EXPECT_NE(GetWindowLongW(search.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(Focus(), search.Control(kField));
    EXPECT_EQ(Rows(search.Control(kList)),
              (std::vector<std::string>{"München web (Filialen)", "mail", "web server (Kunden)"}));
    PressHotkey(); // a second press brings the one window forward
    search.WaitUntilIdle();
    EXPECT_EQ(app_->TopLevelWindows().size(), 1u) << app_->DescribeWindows();

    search.Control(kField).Type("WEB k");
    EXPECT_EQ(Rows(search.Control(kList)), (std::vector<std::string>{"web server (Kunden)"}));
    search.Control(kField).PressKey(VK_RETURN);
    search.WaitUntilGone();
    ASSERT_EQ(putty_.WaitFor(1).size(), 1u);
    EXPECT_EQ(putty_.Read()[0].arguments.back(), L"web server");
    EXPECT_EQ(RegistryRead(ProgramKey, "ZuletztGestartet", "."), "web%20server");

    // The session started last comes first; nothing matching connects to the text.
    search = OpenSearch();
    EXPECT_EQ(Rows(search.Control(kList)).front(), "web server (Kunden)");
    search.Control(kField).Type("host.example");
    EXPECT_TRUE(Rows(search.Control(kList)).empty());
    search.Control(kField).PressKey(VK_RETURN);
    const std::vector<FakePuttyStart> starts = putty_.WaitFor(2);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(std::vector(starts[1].arguments.begin() + 1, starts[1].arguments.end()),
              (std::vector<std::wstring>{L"-ssh", L"host.example"}));

    // Escape closes; it opens again with an empty query.
    search = OpenSearch();
    search.Control(kField).Type("x");
    search.Control(kField).PressKey(VK_ESCAPE);
    search.WaitUntilGone();
    search = OpenSearch();
    EXPECT_EQ(search.Control(kField).Text(), "");
    search.Close();
    search.WaitUntilGone();
    CloseProgram();
}

} // namespace
} // namespace quarnel::test
