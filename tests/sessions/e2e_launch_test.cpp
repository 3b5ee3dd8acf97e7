// Starting the stand-in putty.exe from the real quarnel.exe, with what the program does
// after a start.
#include "testkit/fake_putty_log.h"
#include "testkit/quarnel_setup.h"
#include "testkit/ui_driver.h"
#include "win/text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace quarnel {
namespace {

using Args = std::vector<std::wstring>;
constexpr int kHostField = 24;
constexpr int kSshButton = 25;
constexpr int kTelnetButton = 26;

// Folders compare without case and without a trailing backslash.
std::wstring Folder(std::wstring path) {
    while (!path.empty() && path.back() == L'\\') {
        path.pop_back();
    }
    CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

class LaunchE2E : public ::testing::Test {
  protected:
    // Starts the program in a start folder with a blank and an umlaut, away from PuTTY's;
    // `master` answers the master password prompt.
    void Start(const char* master = nullptr) {
        CreateDirectoryW(startFolder_.c_str(), nullptr);
        test::LaunchOptions options;
        options.workingDirectory = Narrow(startFolder_);
        app_ = std::make_unique<test::App>(options);
        if (master != nullptr) {
            const auto prompt = app_->WaitForWindow(test::TitleIs("Quarnel Passwortabfrage"));
            prompt.WaitUntilIdle();
            prompt.Control(34).Type(master);
            prompt.Control(35).Click();
        }
        main_ = app_->WaitForWindow(test::TitleStartsWith(test::kMainTitlePrefix));
        main_.WaitUntilIdle();
    }

    const std::wstring startFolder_ = test::BuildDir() + L"\\tests\\Start \u00c4";
    test::QuarnelSetup setup_;
    test::FakePuttyLog log_;
    std::unique_ptr<test::App> app_;
    test::Window main_;
};

TEST_F(LaunchE2E, EachWayOfStartingGivesItsParametersAndFolder) {
    setup_.WithFakePutty()
        .Setting("Passwortfunktionalitaet", "1")
        .Session("Web%20Server", "Server", "pass wort", "Meister")
        .Session("M%FCnchen%22x%22");
    Start("Meister");
    main_.Control(kHostField).SetText("host.example");
    const std::wstring start = Folder(startFolder_);
    const std::wstring puttyPath = test::FakePuttyPath();
    const std::wstring putty = Folder(puttyPath.substr(0, puttyPath.rfind(L'\\')));
    const struct {
        std::function<void()> ask;
        Args arguments;
        std::wstring folder;
    } cases[] = {
        // The password goes through a pipe only PuTTY may read, never on the line.
        {[&] { main_.ChooseFromMenuBar(1000); },
         {L"-pwfile", L"<pipe>", L"-load", L"Web Server"},
         start},
        {[&] {
             app_->Tray(main_, WM_RBUTTONUP);
             app_->ChooseFromPopupMenu(1001);
         },
         {L"-load", L"M\u00fcnchen\"x\""},
         start},
        {[&] { main_.Control(kSshButton).Click(); }, {L"-ssh", L"host.example"}, putty},
        {[&] { main_.Control(kSshButton).RightClick(); },
         {L"-load", L"Default Settings", L"-ssh", L"host.example"},
         putty},
        {[&] { main_.Control(kTelnetButton).Click(); }, {L"-telnet", L"host.example"}, putty},
        {[&] {
             main_.Control(kHostField).MouseClick();
             app_->PressKey(VK_RETURN);
         },
         {L"-ssh", L"host.example"},
         putty},
        {[&] { main_.ChooseFromMenuBar(901); }, {}, start},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        cases[i].ask();
        const auto starts = log_.WaitFor(i + 1);
        ASSERT_EQ(starts.size(), i + 1);
        EXPECT_EQ(Folder(starts[i].arguments.at(0)), Folder(puttyPath));
        Args arguments(starts[i].arguments.begin() + 1, starts[i].arguments.end());
        if (i == 0) {
            EXPECT_EQ(arguments.at(1).rfind(L"\\\\.\\pipe\\quarnel-", 0), 0u) << arguments.at(1);
            arguments.at(1) = L"<pipe>";
            EXPECT_EQ(starts[i].commandLine.find(L"pass wort"), std::wstring::npos);
            EXPECT_EQ(starts[i].passwordFile, "pass wort\n");
        }
        EXPECT_EQ(arguments, cases[i].arguments);
        EXPECT_EQ(Folder(starts[i].currentDirectory), cases[i].folder);
    }
    main_.WaitUntilIdle();
    EXPECT_EQ(log_.Read().size(), std::size(cases));
    EXPECT_TRUE(main_.IsVisible());
}

// Each start gets its own pipe; a PuTTY older than 0.77 cannot read one and gets -pw.
TEST_F(LaunchE2E, ThePasswordGoesThroughAPipeToANewPuttyAndOnTheLineToAnOldOne) {
    size_t started = 0;
    for (const bool old : {false, true}) {
        SCOPED_TRACE(old ? "0.76" : "0.77");
        test::QuarnelSetup setup;
        setup.Setting("Passwortfunktionalitaet", "1")
            .Setting("PuttyPfad", Narrow(old ? test::FakeOldPuttyPath() : test::FakePuttyPath()))
            .Session("Web%20Server", "Server", "pass wort", "Meister");
        Start("Meister");
        for (int i = 0; i < 2; ++i) {
            main_.ChooseFromMenuBar(1000);
            const auto starts = log_.WaitFor(++started);
            ASSERT_EQ(starts.size(), started);
            const Args arguments(starts.back().arguments.begin() + 1,
                                 starts.back().arguments.end());
            if (old) {
                EXPECT_EQ(arguments, (Args{L"-pw", L"pass wort", L"-load", L"Web Server"}));
            } else {
                EXPECT_EQ(arguments.at(0), L"-pwfile");
                EXPECT_EQ(starts.back().passwordFile, "pass wort\n");
            }
        }
        app_.reset();
    }
}

TEST_F(LaunchE2E, AfterAStartItEndsOrHidesButAFailedStartOnlyShowsAMessage) {
    enum Then { Stays, Hides, Ends };
    enum Putty { There, Missing, Folder };
    const struct {
        Putty putty;
        const char* quit; // NachPuttyStartBeenden
        const char* hide; // NachPuttyStartMinimieren
        bool session;     // or Telnet
        Then then;
    } cases[] = {
        {There, "1", "1", true, Ends}, // ending wins
        {There, "0", "1", false, Hides},
        {Missing, "1", "1", true, Stays},
        {Missing, "1", "0", false, Stays},
        {Folder, "1", "0", false, Stays}, // a folder would open in Explorer
    };
    const std::wstring putty = test::FakePuttyPath();
    const std::string folder = Narrow(putty.substr(0, putty.rfind(L'\\')));
    size_t started = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        test::QuarnelSetup setup;
        setup
            .Setting("PuttyPfad", c.putty == There    ? Narrow(putty)
                                  : c.putty == Folder ? folder
                                                      : "Z:\\no\\putty.exe")
            .Setting("NachPuttyStartBeenden", c.quit)
            .Setting("NachPuttyStartMinimieren", c.hide)
            .Session("Web%20Server");
        Start();
        test::PendingCall click;
        if (c.session) {
            main_.ChooseFromMenuBar(1000);
        } else {
            click = main_.Control(kTelnetButton).ClickAsync();
        }
        if (c.putty != There) {
            const test::Window box = app_->WaitForMessageBox("Fehler");
            EXPECT_EQ(box.MessageText(), "Das ging schief");
            EXPECT_FALSE(box.FindControl(IDCANCEL).has_value());
            box.Answer(IDOK);
        }
        if (c.then == Ends) {
            EXPECT_EQ(app_->WaitForExit(), 0u);
        } else if (c.then == Hides) {
            main_.WaitUntilGone();
            EXPECT_TRUE(main_.Exists());
        } else {
            main_.WaitUntilIdle();
            EXPECT_TRUE(main_.IsVisible());
        }
        started += c.putty == There;
        EXPECT_EQ(log_.WaitFor(started).size(), started);
        app_.reset();
    }
}

} // namespace
} // namespace quarnel
