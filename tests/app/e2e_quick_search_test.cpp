// The quick search as a user meets it: the global hotkey from anywhere, typing, Return.
#include "testkit/e2e_fixture.h"

namespace quarnel::test {
namespace {

constexpr int kField = 42, kList = 43;
const std::string kSearchTitle = "Quarnel Schnellsuche";

class QuickSearchE2E : public E2eTest {
  protected:
    Window OpenSearch() {
        PressKeys({VK_CONTROL, VK_MENU, 'P'});
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
    EXPECT_EQ(search.Control(kList).ComboEntries(),
              (std::vector<std::string>{"München web (Filialen)", "mail", "web server (Kunden)"}));
    PressKeys({VK_CONTROL, VK_MENU, 'P'}); // a second press brings the one window forward
    search.WaitUntilIdle();
    EXPECT_EQ(app_->TopLevelWindows().size(), 1u) << app_->DescribeWindows();

    search.Control(kField).Type("WEB k");
    EXPECT_EQ(search.Control(kList).ComboEntries(),
              (std::vector<std::string>{"web server (Kunden)"}));
    search.Control(kField).PressKey(VK_RETURN);
    search.WaitUntilGone();
    ASSERT_EQ(putty_.WaitFor(1).size(), 1u);
    EXPECT_EQ(putty_.Read()[0].arguments.back(), L"web server");
    EXPECT_EQ(RegistryRead(ProgramKey, "ZuletztGestartet", "."), "web%20server");

    // The session started last comes first; nothing matching connects to the text.
    search = OpenSearch();
    EXPECT_EQ(search.Control(kList).ComboEntries().front(), "web server (Kunden)");
    search.Control(kField).Type("host.example");
    EXPECT_TRUE(search.Control(kList).ComboEntries().empty());
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
