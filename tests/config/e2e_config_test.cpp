// The configuration window in the whole running program: quarnel.exe worked from
// outside, for what only shows across processes and starts: the restarted copy, the
// next start after the uninstall, the file requester, boxes against the tray icon.
#include "config/config_window.h"
#include "sessions/session_menu.h"
#include "testkit/e2e_fixture.h"
#include "win/text.h"

#include <gtest/gtest.h>

namespace quarnel::test {
namespace {

// The restarted copy reads everything afresh: give it time.
constexpr Timeout kRestartTimeout{30000};

class E2eConfigTest : public E2eTest {
  protected:
    Window OpenConfig() const {
        main_.ChooseFromMenuBar(kConfigureItem);
        const Window config = app_->WaitForWindow(TitleIs(kConfigTitle));
        config.WaitUntilIdle(); // filled once the program takes input again
        return config;
    }
    // While a box or the requester is up, the whole program waits for it, the tray too.
    void ExpectTrayIgnored() const {
        EXPECT_FALSE(main_.IsEnabled());
        app_->Tray(main_, WM_RBUTTONUP);
        EXPECT_FALSE(app_->PopupMenuOpen());
    }
};

// Started in the test's folder, not the program's: the restart starts the program's own
// file, with the same working folder.
TEST_F(E2eConfigTest, RestartStartsANewCopyThatReadsTheSavedMenu) {
    setup_.LaterRun().Session("alpha").Session("beta");
    Start();
    const Window config = OpenConfig();
    config.Control(kSessionCombo).PickComboEntry("beta");
    config.Control(kMenuCombo).SetText("Server");
    config.Control(kSaveButton).Click();
    const PendingCall click = config.Control(kRestartButton).ClickAsync(); // never answered
    EXPECT_EQ(app_->WaitForExit(kRestartTimeout), 0u);
    HWND found = nullptr;
    Await([&] { return (found = FindWindowW(L"QuarnelMainWindow", nullptr)) != nullptr; },
          "the main window of a new copy", kRestartTimeout);
    app_ = std::make_unique<App>(Window(found).ProcessId());
    main_ = app_->WaitForWindow(TitleStartsWith(kMainTitlePrefix, "QuarnelMainWindow"));
    const std::string menus = main_.ReadMenuBar().Dump();
    EXPECT_NE(menus.find("\nServer\n  beta [1000]\nWEITERE...\n  alpha"), std::string::npos)
        << menus;
    CloseProgram();
}

TEST_F(E2eConfigTest, AfterTheUninstallTheNextStartIsAFirstRun) {
    setup_.LaterRun().Session("alpha", "Server");
    Start();
    const PendingCall click = OpenConfig().Control(kUninstallButton).ClickAsync();
    const Window box = app_->WaitForMessageBox("Quarnel deinstallieren");
    ExpectTrayIgnored();
    box.Answer(IDYES);
    click.Wait();
    CloseProgram(); // stores the window's geometry: into no key
    EXPECT_FALSE(RegistryKeyExists(ProgramKey, "."));
    Start();
    app_->WaitForMessageBox("Ulvas Quarnel").Answer(IDOK);
    app_->WaitForWindow(TitleIs("Quarnel Konfiguration "));
    CloseProgram();
}

TEST_F(E2eConfigTest, TheFileRequesterSetsThePathAndCancelChangesNothing) {
    constexpr int kFileName = 0x47C, kLookIn = 0x471; // cmb13, cmb2
    const std::string putty = Narrow(FakePuttyPath());
    for (const bool choose : {true, false}) {
        SCOPED_TRACE(choose ? "chosen" : "cancelled");
        const std::string before = choose ? "Z:\\nirgends\\putty.exe" : putty;
        setup_.Setting("PuttyPfad", before);
        Start();
        const Window config = OpenConfig();
        const PendingCall click = config.Control(kBrowseButton).ClickAsync();
        const Window requester = app_->WaitForMessageBox("Bitte Putty.exe Datei wählen:");
        EXPECT_FALSE(config.IsEnabled());
        ExpectTrayIgnored();
        if (choose) {
            requester.Control(kFileName).SetText(putty);
            requester.Answer(IDOK);
        } else { // it opens in the folder of the path, with the file name preset
            EXPECT_EQ(requester.Control(kLookIn).Text(), "fake_putty");
            EXPECT_EQ(requester.Control(kFileName).Text(), "putty.exe");
            requester.Answer(IDCANCEL);
        }
        click.Wait();
        EXPECT_TRUE(main_.IsEnabled());
        EXPECT_EQ(config.Control(kPuttyPathField).Text(), putty);
        EXPECT_EQ(config.Control(kPuttyPathStatusLabel).Text(), "(Datei gefunden!. Alles OK!)");
        EXPECT_EQ(RegistryRead(ProgramKey, "PuttyPfad", "."), putty);
        CloseProgram();
    }
}

} // namespace
} // namespace quarnel::test
