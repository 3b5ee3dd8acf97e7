// The UI driver against a small sample program (tests/support/sample_app), which logs
// every user action it sees to "sample_app.log" in its working directory. The log shows
// what reached the program, and in which order.
#include "support/ui_driver.h"

#include "registry/registry.h"
#include "sessions/catalogue.h"
#include "support/putty_seed.h"
#include "win/text.h"

#include <gtest/gtest.h>

#include <fstream>

namespace quarnel::test {
namespace {

const std::string kSampleTitle = "Sample App Übung";
constexpr int kEdit = 24;
constexpr int kAskButton = 25;
constexpr int kCombo = 40;
const std::string kTrayRightClick = "TRAY 1 " + std::to_string(WM_RBUTTONUP);

class UiDriverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        dir_ = Narrow(temp) + "quarnel-ui-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryW(Widen(dir_).c_str(), nullptr);
    }
    void TearDown() override {
        app_.reset();
        DeleteFileW(Widen(LogPath()).c_str());
        RemoveDirectoryW(Widen(dir_).c_str());
    }

    App& Start(std::vector<std::pair<std::string, std::string>> environment = {}) {
        app_.reset();
        DeleteFileW(Widen(LogPath()).c_str());
        LaunchOptions options;
        options.program = BuildDir() + L"\\tests\\sample_app.exe";
        options.workingDirectory = dir_;
        options.environment = std::move(environment);
        app_ = std::make_unique<App>(options);
        main_ = app_->WaitForWindow(TitleIs(kSampleTitle, "QuarnelSampleApp"));
        expected_ = {"START"};
        ExpectLog();
        return *app_;
    }

    std::string LogPath() const { return dir_ + "\\sample_app.log"; }

    std::vector<std::string> Log() const {
        std::ifstream in(Widen(LogPath()).c_str());
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    // Waits until the log holds what was expected so far plus `more`, and nothing else.
    void ExpectLog(const std::vector<std::string>& more = {}) {
        expected_.insert(expected_.end(), more.begin(), more.end());
        if (!WaitUntil([&] { return Log() == expected_; })) {
            std::string got, want;
            for (const std::string& line : Log()) {
                got += "  " + line + "\n";
            }
            for (const std::string& line : expected_) {
                want += "  " + line + "\n";
            }
            ADD_FAILURE() << "the sample program logged:\n" << got << "instead of:\n" << want;
            expected_ = Log();
        }
    }

    std::string dir_;
    std::unique_ptr<App> app_;
    Window main_;
    std::vector<std::string> expected_;
};

TEST_F(UiDriverTest, StartsInItsDirectoryWithItsEnvironmentAndReportsTheExitCode) {
    const struct {
        const char* how;
        const char* exitCode; // SAMPLE_EXIT_CODE, nullptr: not set
        std::vector<std::string> log;
    } cases[] = {
        {"close box", nullptr, {"CLOSE"}},
        {"menu bar", "7", {"MENU 190"}},
        {"tray popup", "3", {kTrayRightClick, "POPUP DONE", "MENU 990"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        std::vector<std::pair<std::string, std::string>> environment;
        if (c.exitCode) {
            environment.emplace_back("SAMPLE_EXIT_CODE", c.exitCode);
        }
        App& app = Start(environment); // the log appearing in dir_ shows the directory
        const std::string how = c.how;
        if (how == "close box") {
            main_.Close();
        } else if (how == "menu bar") {
            main_.ChooseFromMenuBar(190);
        } else {
            app.Tray(main_, WM_RBUTTONUP);
            app.ChooseFromPopupMenu(990);
        }
        EXPECT_EQ(app.WaitForExit(), c.exitCode ? std::stoul(c.exitCode) : 0u);
        EXPECT_FALSE(app.IsRunning());
        ExpectLog(c.log);
    }
}

TEST_F(UiDriverTest, EndsTheProgramWhenItGoes) {
    Start();
    UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, app_->ProcessId()));
    ASSERT_TRUE(process);
    app_.reset();
    EXPECT_EQ(WaitForSingleObject(process.get(), 0), WAIT_OBJECT_0);
}

TEST_F(UiDriverTest, ReadsTheMenuBarFromInsideTheProgram) {
    Start();
    const Menu bar = main_.ReadMenuBar();
    EXPECT_EQ(bar.Dump(), "Datei\n"
                          "  Öffnen [101]\n"
                          "  ---\n"
                          "  Weitere\n"
                          "    Eins [111]\n"
                          "    Zwei [112] (grayed)\n"
                          "  Beenden [190]\n"
                          "Hilfe\n"
                          "  Über [201]\n");
    EXPECT_EQ(bar.PathTo(111), (std::vector<size_t>{0, 2, 0}));
    EXPECT_TRUE(bar.PathTo(999).empty());
    ASSERT_NE(bar.Find(201), nullptr);
    EXPECT_EQ(bar.Find(201)->text, "Über");
    // The titles lie side by side in the menu bar, above the client area.
    ASSERT_TRUE(bar.items[0].rect && bar.items[1].rect);
    EXPECT_LT(bar.items[0].rect->right, bar.items[1].rect->right);
    EXPECT_EQ(bar.items[0].rect->top, bar.items[1].rect->top);
    EXPECT_GT(bar.items[0].rect->top, main_.WindowRect().top);
    EXPECT_FALSE(bar.items[0].items[0].rect); // drop-downs are closed
}

TEST_F(UiDriverTest, ChoosesFromTheMenuBarByClickingThroughIt) {
    App& app = Start();
    for (const int id : {101, 111, 201}) {
        main_.ChooseFromMenuBar(id);
        ExpectLog({"MENU " + std::to_string(id)});
    }
    EXPECT_THROW(main_.ChooseFromMenuBar(112), DriverError); // grayed
    EXPECT_THROW(main_.ChooseFromMenuBar(999), DriverError);
    EXPECT_FALSE(app.InMenuMode());

    const Menu dropDown = main_.OpenMenuBarTitle("Hilfe");
    EXPECT_EQ(dropDown.Dump(), "Über [201]\n");
    EXPECT_TRUE(app.InMenuMode());
    app.DismissMenu();
    EXPECT_FALSE(app.InMenuMode());
    EXPECT_FALSE(app.PopupMenuOpen());

    main_.PostMenuCommand(201);
    main_.WaitUntilIdle();
    ExpectLog({"MENU 201"});
}

TEST_F(UiDriverTest, ReadsChoosesAndDismissesTheTrayPopupMenu) {
    App& app = Start();
    EXPECT_FALSE(app.ReadPopupMenu());

    app.Tray(main_, WM_RBUTTONUP);
    const Menu popup = app.WaitForPopupMenu();
    EXPECT_EQ(popup.Dump(), "Sitzung A [1000]\n"
                            "Gruppe\n"
                            "  Sitzung B [1001]\n"
                            "  Sitzung C [1002]\n"
                            "---\n"
                            "Beenden [990]\n");
    EXPECT_TRUE(popup.items[0].rect);
    app.DismissMenu();
    EXPECT_FALSE(app.PopupMenuOpen());
    ExpectLog({kTrayRightClick, "POPUP DONE"});

    // An item in a submenu: the submenu opens on the way, as under the mouse.
    for (const int id : {1002, 1000}) {
        app.Tray(main_, WM_RBUTTONUP);
        app.ChooseFromPopupMenu(id);
        EXPECT_FALSE(app.PopupMenuOpen());
        ExpectLog({kTrayRightClick, "POPUP DONE", "MENU " + std::to_string(id)});
    }

    EXPECT_THROW(app.ChooseFromPopupMenu(1000, Timeout(200)), DriverError); // none open
    app.Tray(main_, WM_RBUTTONUP);
    EXPECT_THROW(app.ChooseFromPopupMenu(4711), DriverError);
    app.DismissMenu();
    ExpectLog({kTrayRightClick, "POPUP DONE"});
}

TEST_F(UiDriverTest, DeliversTheOtherTrayMessagesWithTheIconNumber) {
    App& app = Start();
    for (const UINT message : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEMOVE}) {
        app.Tray(main_, message);
        ExpectLog({"TRAY 1 " + std::to_string(message)});
    }
    EXPECT_FALSE(app.PopupMenuOpen());
}

TEST_F(UiDriverTest, AnswersAMessageBoxOpenedByAClick) {
    App& app = Start();
    const Window button = main_.Control(kAskButton);
    const struct {
        int button;
        std::string log;
    } cases[] = {{IDYES, "ANSWER 6"}, {IDNO, "ANSWER 7"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        const PendingCall click = button.ClickAsync();
        const Window box = app.WaitForMessageBox("Sample Frage");
        EXPECT_FALSE(click.Done()); // the click's handler waits for the answer
        EXPECT_EQ(box.MessageText(), "Wirklich weiter?");
        EXPECT_THROW(box.Answer(IDOK), DriverError); // a Yes/No box has no OK
        EXPECT_THROW(button.Click(), DriverError);   // the box disables the main window
        box.Answer(c.button);
        EXPECT_FALSE(box.Exists());
        click.Wait();
        ExpectLog({"CLICK 25", c.log});
    }

    // A click that waits for its handler gives up at its deadline when a box opens.
    EXPECT_THROW(button.Click(Timeout(300)), DriverError);
    app.WaitForMessageBox("Sample Frage").Answer(IDYES);
    ExpectLog({"CLICK 25", "ANSWER 6"});
}

TEST_F(UiDriverTest, TypingGivesOneChangePerCharacter) {
    App& app = Start();
    const Window edit = main_.Control(kEdit);
    edit.Type("ä b");
    ExpectLog({"EN_CHANGE ä", "EN_CHANGE ä ", "EN_CHANGE ä b"});
    EXPECT_EQ(edit.Text(), "ä b");

    edit.SetText("neu");
    ExpectLog({"EN_CHANGE neu"});
    EXPECT_EQ(edit.Text(), "neu");

    // Keys pass the program's message loop: Return is its accelerator, a letter key
    // becomes a character.
    edit.PressKey(VK_RETURN);
    ExpectLog({"ACCEL 300"});
    edit.MouseClick(); // the edit takes the focus, so keys without a window reach it
    app.PressKey('X');
    ExpectLog({"EN_CHANGE neux"});
    app.PressKey(VK_RETURN);
    ExpectLog({"ACCEL 300"});
}

TEST_F(UiDriverTest, PicksComboEntriesLikeAUser) {
    Start();
    const Window combo = main_.Control(kCombo);
    EXPECT_EQ(combo.ComboEntries(), (std::vector<std::string>{"Alpha", "Beta", "Gämma"}));
    EXPECT_EQ(combo.ComboSelection(), CB_ERR);
    combo.PickComboEntry("Gämma");
    ExpectLog({"CBN_SELCHANGE 2"});
    EXPECT_EQ(combo.ComboSelection(), 2);
    combo.PickComboEntry(0);
    ExpectLog({"CBN_SELCHANGE 0"});
    EXPECT_EQ(combo.Text(), "Alpha");
    EXPECT_THROW(combo.PickComboEntry("Delta"), DriverError);
    EXPECT_THROW(combo.PickComboEntry(3), DriverError);
    ExpectLog();
}

TEST_F(UiDriverTest, RightClickIsNoClick) {
    Start();
    main_.Control(kAskButton).RightClick();
    ExpectLog({"RCLICK 25"}); // and no "CLICK 25": the driver waited until it was handled
}

TEST_F(UiDriverTest, ReportsWindowsAndControls) {
    App& app = Start();
    EXPECT_EQ(main_.Text(), kSampleTitle);
    EXPECT_EQ(app.FindWindow(TitleStartsWith("Sample App")), main_);
    EXPECT_FALSE(app.FindWindow(TitleStartsWith("Sample App", "Edit")));
    EXPECT_FALSE(app.FindWindow(TitleIs("Sample App")));
    EXPECT_EQ(app.TopLevelWindows(), std::vector<Window>{main_});

    const Window button = main_.Control(kAskButton);
    EXPECT_EQ(button.Text(), "Fragen");
    EXPECT_EQ(button.ClassName(), "Button");
    EXPECT_TRUE(button.IsEnabled());
    EXPECT_FALSE(button.IsChecked());
    EXPECT_EQ(button.Parent(), main_);
    const RECT frame = main_.Control(kEdit).WindowRect();
    EXPECT_EQ(frame.right - frame.left, 135);
    EXPECT_EQ(frame.bottom - frame.top, 20);
    const RECT client = main_.ClientRect();
    EXPECT_EQ(client.left, 0);
    EXPECT_GT(client.right, 300);
    EXPECT_THROW(main_.Control(99), DriverError);

    main_.Minimize();
    EXPECT_TRUE(WaitUntil([&] { return main_.IsMinimized(); }));
}

TEST_F(UiDriverTest, WaitsEndWithAMessageThatSaysWhatWasAwaited) {
    App& app = Start();
    try {
        app.WaitForWindow(TitleIs("Gibt es nicht"), Timeout(200));
        ADD_FAILURE() << "no window should have been found";
    } catch (const DriverError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("\"Gibt es nicht\""), std::string::npos) << message;
        EXPECT_NE(message.find(kSampleTitle), std::string::npos) << message;
    }
    EXPECT_THROW(app.WaitForExit(Timeout(200)), DriverError);
    EXPECT_THROW(app.WaitForPopupMenu(Timeout(200)), DriverError);
    main_.Close();
    EXPECT_EQ(app.WaitForExit(), 0u);
    try {
        app.WaitForWindow(TitleIs("Gibt es nicht"));
        ADD_FAILURE() << "no window should have been found";
    } catch (const DriverError& e) {
        EXPECT_NE(std::string(e.what()).find("ended"), std::string::npos) << e.what();
    }
    EXPECT_THROW(main_.Control(kEdit), DriverError);
}

TEST(PuttySeed, LaysOutSessionsWhereTheProgramLooks) {
    RemovePuttySessions();
    SeedPuttySession("Web%20Server", "Büro");
    SeedPuttySession("plain");
    EXPECT_EQ(RegistryRead(SessionsKey + "Web%20Server", MenuValueName, "."), "Büro");
    EXPECT_EQ(RegistryKeyExists(SessionsKey + "plain", "."), 1);
    EXPECT_EQ(RegistryProbe(SessionsKey + "plain", MenuValueName, "."), 0);
    RemovePuttySessions();
    EXPECT_EQ(RegistryListSubKey(SessionsKey, 0, "."), "");
}

} // namespace
} // namespace quarnel::test
