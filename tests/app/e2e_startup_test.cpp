// Start-up of the running program: a first run, and a start hidden in the tray that
// lives through a restart of the shell and ends from there.
#include "testkit/e2e_fixture.h"

#include "win/text.h"

namespace quarnel::test {
namespace {

TEST_F(E2eTest, AFirstRunWelcomesThenOpensTheConfigurationAndIgnoresReturn) {
    LaunchOptions options; // the default PuTTY path, putty.exe of the start folder
    const std::string putty = Narrow(FakePuttyPath());
    options.workingDirectory = putty.substr(0, putty.rfind('\\'));
    App& app = Start(options, false);

    const Window box = app.WaitForMessageBox("Ulvas Quarnel");
    EXPECT_EQ(box.MessageText(),
              "Das Tool wurde zum Ersten Mal aufgerufen. Daher wurde ein Registry-Key erstellt. \r"
              "Um ihn wieder loszuwerden, einfach den Deinstallieren-Button verwenden.\r\r"
              "Bitte konfigurieren Sie nun zunächst die Einstellungen im folgenden Menü.");
    EXPECT_FALSE(box.FindControl(IDCANCEL) || box.FindControl(IDNO)) << "more than OK";
    for (const Window& control : box.Controls()) {
        EXPECT_FALSE(control.ClassName() == "Static" && control.Send(STM_GETICON, 0, 0) != 0);
    }
    EXPECT_TRUE(RegistryKeyExists(ProgramKey, "."));
    EXPECT_TRUE(main_.IsVisible()) << "the welcome shows over the open main window";
    EXPECT_FALSE(app.FindWindow(TitleIs(kConfigTitle)));
    box.Answer(IDOK);
    app.WaitForWindow(TitleIs(kConfigTitle));
    main_.WaitUntilIdle();
    EXPECT_TRUE(TrayIcon(NIM_MODIFY));
    EXPECT_EQ(StoredGeometry(), kNoGeometry) << "the settings are not written at the start";

    main_.Control(kHostField).Type("erstlauf");
    Activate(main_);
    main_.Control(kHostField).PressKey(VK_RETURN);
    ExpectATelnetStartOnly("Return in the host field started one");
    CloseProgram();
}

TEST_F(E2eTest, StartedMinimisedItLivesInTheTrayThroughAShellRestartAndEndsStoringItsPlace) {
    setup_.Setting("Startminimized", "1").Setting("FensterpositionX", "120");
    App& app = Start();
    EXPECT_FALSE(main_.IsVisible());
    EXPECT_EQ(StoredGeometry(), Geometry(120, 10, 500, 60)) << "not stored before it hides";

    // A new shell starts with an empty tray and tells every top-level window.
    ASSERT_TRUE(TrayIcon(NIM_DELETE));
    SendNotifyMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    Await([&] { return TrayIcon(NIM_MODIFY); }, "the tray icon back");
    EXPECT_FALSE(TrayIcon(NIM_MODIFY, 2)) << "a second icon";

    // The first left click shows it; hidden again and ended from the popup, it stores
    // where it was.
    app.Tray(main_, WM_LBUTTONUP);
    EXPECT_TRUE(main_.IsVisible());
    app.Tray(main_, WM_LBUTTONUP);
    StoredGeometry(true);
    app.Tray(main_, WM_RBUTTONUP);
    app.ChooseFromPopupMenu(990);
    EXPECT_EQ(app.WaitForExit(), 0u);
    EXPECT_EQ(StoredGeometry(), Geometry(120, 10, 500, 60));
}

} // namespace
} // namespace quarnel::test
