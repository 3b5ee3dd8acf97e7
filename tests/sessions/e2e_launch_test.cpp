// The real quarnel.exe starting the stand-in putty.exe: from the menus, from the main
// window's host field and buttons, and what the program does after a start.
#include "app/settings.h"
#include "registry/registry.h"
#include "testkit/fake_putty_log.h"
#include "testkit/quarnel_setup.h"
#include "testkit/test_support.h"
#include "testkit/ui_driver.h"
#include "win/text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

namespace quarnel {
namespace {

using test::App;
using test::FakePuttyStart;
using test::Window;

constexpr int kHostField = 24;
constexpr int kSshButton = 25;
constexpr int kTelnetButton = 26;
constexpr UINT kReturnEvent = 111;
constexpr int kPuttySettings = 901;

// Folders compare without case and without a trailing backslash.
std::wstring Normal(std::wstring folder) {
    if (folder.size() > 3 && folder.back() == L'\\') {
        folder.pop_back();
    }
    CharLowerBuffW(folder.data(), static_cast<DWORD>(folder.size()));
    return folder;
}

std::vector<std::wstring> Wide(const std::vector<std::string>& texts) {
    std::vector<std::wstring> out;
    for (const std::string& text : texts) {
        out.push_back(Widen(text));
    }
    return out;
}

// What the stand-in saw: the program, the arguments after it, the parameter text (the
// command line after the program and the one blank that follows it) and its folder.
struct Seen {
    std::wstring program;
    std::vector<std::wstring> arguments;
    std::wstring parameters;
    std::wstring folder;
};

Seen Describe(const FakePuttyStart& start) {
    Seen seen;
    if (!start.arguments.empty()) {
        seen.program = Normal(start.arguments[0]);
        seen.arguments.assign(start.arguments.begin() + 1, start.arguments.end());
    }
    const std::wstring& line = start.commandLine;
    size_t end = line.find(line.empty() || line[0] != L'"' ? L' ' : L'"', 1);
    if (end != std::wstring::npos && line[0] == L'"') {
        ++end;
    }
    if (end < line.size()) {
        seen.parameters = line.substr(line[end] == L' ' ? end + 1 : end);
    }
    seen.folder = Normal(start.currentDirectory);
    return seen;
}

// A session item's number, found by the text the menu shows.
int ItemNumber(const std::vector<test::MenuItem>& items, const std::string& text) {
    for (const test::MenuItem& item : items) {
        if (item.kind == test::MenuItem::Kind::Command && item.text == text) {
            return item.id;
        }
        if (const int id = ItemNumber(item.items, text)) {
            return id;
        }
    }
    return 0;
}

std::wstring PuttyFolder() {
    const std::wstring path = test::FakePuttyPath();
    return Normal(path.substr(0, path.rfind(L'\\')));
}

std::wstring MissingPutty() {
    return test::BuildDir() + L"\\tests\\no putty here\\putty.exe";
}

class LaunchE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        // A start folder with a blank and an umlaut, far from the program and from PuTTY.
        startDir_ =
            std::wstring(temp) + L"Quarnel Start \u00c4 " + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(startDir_.c_str(), nullptr);
    }
    void TearDown() override {
        app_.reset();
        RemoveDirectoryW(startDir_.c_str());
    }

    // Starts the program in the start folder; `master` answers the master password prompt.
    App& Start(const char* master = nullptr) {
        app_.reset();
        test::LaunchOptions options;
        options.workingDirectory = Narrow(startDir_);
        app_ = std::make_unique<App>(options);
        if (master) {
            const Window prompt = app_->WaitForWindow(test::TitleIs("Quarnel Passwortabfrage"));
            prompt.WaitUntilIdle(); // its controls are there
            prompt.Control(34).Type(master);
            prompt.Control(34).PressKey(VK_RETURN);
        }
        main_ = app_->WaitForWindow(test::TitleStartsWith(test::kMainTitlePrefix));
        main_.WaitUntilIdle(); // start-up has ended: menus, gadgets and tray icon are there
        return *app_;
    }

    // Waits for the stand-in's next start and returns what it saw.
    Seen NextStart() {
        const auto records = log_.WaitFor(++starts_);
        if (records.size() < starts_) {
            ADD_FAILURE() << "putty.exe was not started (start " << starts_ << ")";
            --starts_;
            return {};
        }
        EXPECT_EQ(records.size(), starts_) << "putty.exe was started more than once";
        return Describe(records[starts_ - 1]);
    }

    // Nothing else started: the log holds exactly what was awaited so far.
    void ExpectNoFurtherStart() {
        main_.WaitUntilIdle();
        EXPECT_EQ(log_.Read().size(), starts_);
    }

    std::wstring StartFolder() const { return Normal(startDir_); }

    void ChooseSession(bool fromTray, int item) {
        if (fromTray) {
            app_->Tray(main_, WM_RBUTTONUP);
            app_->WaitForPopupMenu();
            app_->ChooseFromPopupMenu(item);
        } else {
            main_.ChooseFromMenuBar(item);
        }
    }

    HWND FocusedWindow() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(app_->MainThreadId(), &info);
        return info.hwndFocus;
    }

    test::QuarnelSetup setup_;
    test::FakePuttyLog log_;
    std::wstring startDir_;
    std::unique_ptr<App> app_;
    Window main_;
    size_t starts_ = 0;
};

TEST_F(LaunchE2E, SessionsFromMenuBarAndTrayLoadTheDecodedNameInTheStartFolder) {
    setup_.WithFakePutty()
        .Session("Web%20Server", "Server")
        .Session("M%FCnchen%20B%FCro")
        .Session("Say%22hi%22%20%5Cnow", "Server")
        .Session("Tab%09Ordner%5C", "Server")
        // Stored, but the password function is off: never read.
        .Session("Tresor", "", "geheim", "Meister");
    Start();
    const test::Menu bar = main_.ReadMenuBar();

    const struct {
        const char* shown; // the item's text in the menus
        bool fromTray;
        const char* parameters;
        std::vector<std::string> arguments;
    } cases[] = {
        {"Web Server", false, " -load  \"Web Server\"", {"-load", "Web Server"}},
        {"Web Server", true, " -load  \"Web Server\"", {"-load", "Web Server"}},
        {"M%FCnchen B%FCro", false, " -load  \"München Büro\"", {"-load", "München Büro"}},
        {"M%FCnchen B%FCro", true, " -load  \"München Büro\"", {"-load", "München Büro"}},
        {"Say%22hi%22 %5Cnow",
         true,
         " -load  \"Say\\\"hi\\\" \\now\"",
         {"-load", "Say\"hi\" \\now"}},
        {"Tab%09Ordner%5C", false, " -load  \"Tab\tOrdner\\\\\"", {"-load", "Tab\tOrdner\\"}},
        {"Tresor", false, " -load  \"Tresor\"", {"-load", "Tresor"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.shown) + (c.fromTray ? " from the tray" : " from the menu bar"));
        const int item = ItemNumber(bar.items, c.shown);
        ASSERT_GE(item, 1000) << bar.Dump();
        ChooseSession(c.fromTray, item);
        const Seen seen = NextStart();
        EXPECT_EQ(seen.program, Normal(test::FakePuttyPath()));
        EXPECT_EQ(seen.parameters, Widen(c.parameters));
        EXPECT_EQ(seen.arguments, Wide(c.arguments));
        EXPECT_EQ(seen.folder, StartFolder());
    }
    ExpectNoFurtherStart();
    EXPECT_TRUE(main_.IsVisible());
}

TEST_F(LaunchE2E, StoredPasswordsGoAheadOfTheSessionWhenThePasswordFunctionIsOn) {
    setup_.WithFakePutty()
        .Setting("Passwortfunktionalitaet", "1")
        .Session("Web%20Server", "Server", "secret", "Meister")
        .Session("Zwei%20Worte", "Server", "pass wort", "Meister")
        .Session("Zitat", "", "sag\"hallo\"", "Meister")
        .Session("Umlaut%20%E4", "", "€uro-Pässe", "Meister")
        .Session("Ohne%20Passwort");
    Start("Meister");
    const test::Menu bar = main_.ReadMenuBar();

    const struct {
        const char* shown;
        bool fromTray;
        const char* parameters;
        std::vector<std::string> arguments;
    } cases[] = {
        {"Web Server",
         false,
         "-pw secret -load  \"Web Server\"",
         {"-pw", "secret", "-load", "Web Server"}},
        {"Web Server",
         true,
         "-pw secret -load  \"Web Server\"",
         {"-pw", "secret", "-load", "Web Server"}},
        {"Zwei Worte",
         true,
         "-pw \"pass wort\" -load  \"Zwei Worte\"",
         {"-pw", "pass wort", "-load", "Zwei Worte"}},
        {"Zitat",
         false,
         "-pw \"sag\\\"hallo\\\"\" -load  \"Zitat\"",
         {"-pw", "sag\"hallo\"", "-load", "Zitat"}},
        {"Umlaut %E4",
         false,
         "-pw €uro-Pässe -load  \"Umlaut ä\"",
         {"-pw", "€uro-Pässe", "-load", "Umlaut ä"}},
        {"Ohne Passwort", true, " -load  \"Ohne Passwort\"", {"-load", "Ohne Passwort"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.shown) + (c.fromTray ? " from the tray" : " from the menu bar"));
        const int item = ItemNumber(bar.items, c.shown);
        ASSERT_GE(item, 1000) << bar.Dump();
        ChooseSession(c.fromTray, item);
        const Seen seen = NextStart();
        EXPECT_EQ(seen.program, Normal(test::FakePuttyPath()));
        EXPECT_EQ(seen.parameters, Widen(c.parameters));
        EXPECT_EQ(seen.arguments, Wide(c.arguments));
        EXPECT_EQ(seen.folder, StartFolder());
    }
    ExpectNoFurtherStart();
}

// How the user asks for a direct connection in the main window.
enum class Ask { SshClick, SshRightClick, TelnetClick, ReturnInHostField, ReturnOnTelnetButton };

TEST_F(LaunchE2E, DirectConnectionsTakeTheHostAsTypedInThePuttyFolder) {
    setup_.WithFakePutty();
    Start();
    const Window host = main_.Control(kHostField);

    const struct {
        const char* host;
        Ask ask;
        const char* parameters;
        std::vector<std::string> arguments;
    } cases[] = {
        {"example.org", Ask::SshClick, "-ssh example.org", {"-ssh", "example.org"}},
        {"", Ask::SshClick, "-ssh ", {"-ssh"}},
        {" root@10.0.0.1 -P 2222 ",
         Ask::SshClick,
         "-ssh  root@10.0.0.1 -P 2222 ",
         {"-ssh", "root@10.0.0.1", "-P", "2222"}},
        {"example.org",
         Ask::SshRightClick,
         "-load \"Default Settings\" -ssh example.org",
         {"-load", "Default Settings", "-ssh", "example.org"}},
        {"",
         Ask::SshRightClick,
         "-load \"Default Settings\" -ssh ",
         {"-load", "Default Settings", "-ssh"}},
        {"router", Ask::TelnetClick, "-telnet router", {"-telnet", "router"}},
        {"", Ask::TelnetClick, "-telnet ", {"-telnet"}},
        {"mäx.example", Ask::ReturnInHostField, "-ssh mäx.example", {"-ssh", "mäx.example"}},
        {"", Ask::ReturnInHostField, "-ssh ", {"-ssh"}},
        {"switch", Ask::ReturnOnTelnetButton, "-ssh switch", {"-ssh", "switch"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("host [") + c.host + "], way " +
                     std::to_string(static_cast<int>(c.ask)));
        host.SetText(c.host);
        switch (c.ask) {
        case Ask::SshClick:
            main_.Control(kSshButton).Click();
            break;
        case Ask::SshRightClick:
            main_.Control(kSshButton).RightClick();
            break;
        case Ask::TelnetClick:
            main_.Control(kTelnetButton).Click();
            break;
        case Ask::ReturnInHostField:
            host.MouseClick();
            ASSERT_EQ(FocusedWindow(), host.Handle());
            app_->PressKey(VK_RETURN);
            break;
        case Ask::ReturnOnTelnetButton:
            host.MouseClick();
            app_->PressKey(VK_TAB);
            app_->PressKey(VK_TAB);
            ASSERT_EQ(FocusedWindow(), main_.Control(kTelnetButton).Handle());
            app_->PressKey(VK_RETURN);
            break;
        }
        const Seen seen = NextStart();
        EXPECT_EQ(seen.program, Normal(test::FakePuttyPath()));
        EXPECT_EQ(seen.parameters, Widen(c.parameters));
        EXPECT_EQ(seen.arguments, Wide(c.arguments));
        EXPECT_EQ(seen.folder, PuttyFolder());
    }
    // The event number of the Return key arriving by itself is an SSH connection too.
    host.SetText("menu.event");
    main_.PostMenuCommand(kReturnEvent);
    Seen seen = NextStart();
    EXPECT_EQ(seen.parameters, L"-ssh menu.event");
    EXPECT_EQ(seen.folder, PuttyFolder());

    // "Putty Einstellungen": no parameters at all, in the program's own current folder.
    main_.ChooseFromMenuBar(kPuttySettings);
    seen = NextStart();
    EXPECT_EQ(seen.parameters, L"");
    EXPECT_TRUE(seen.arguments.empty());
    EXPECT_EQ(seen.folder, StartFolder());
    ExpectNoFurtherStart();
    EXPECT_TRUE(main_.IsVisible());
}

TEST_F(LaunchE2E, RightClickOnSshLoadsTheStoredTemplateDecoded) {
    const struct {
        const char* stored;
        const char* parameters;
        const char* name;
    } cases[] = {
        {"Vorlage%20M%FCller", "-load \"Vorlage Müller\" -ssh host.example", "Vorlage Müller"},
        {"Jump%22Box%22", "-load \"Jump\\\"Box\\\"\" -ssh host.example", "Jump\"Box\""},
        {"plain", "-load \"plain\" -ssh host.example", "plain"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        test::QuarnelSetup setup;
        setup.WithFakePutty().Setting("SSHSessionVorlage", c.stored);
        Start();
        main_.Control(kHostField).SetText("host.example");
        main_.Control(kSshButton).RightClick();
        const Seen seen = NextStart();
        EXPECT_EQ(seen.program, Normal(test::FakePuttyPath()));
        EXPECT_EQ(seen.parameters, Widen(c.parameters));
        EXPECT_EQ(seen.arguments, Wide({"-load", c.name, "-ssh", "host.example"}));
        EXPECT_EQ(seen.folder, PuttyFolder());
        main_.ChooseFromMenuBar(990);
        EXPECT_EQ(app_->WaitForExit(), 0u);
    }
}

// What follows a launch, by the two settings and whether PuTTY could be started.
enum class Putty { Fake, Missing, Unset }; // Unset: the default, putty.exe in the start folder
enum class Launch { Session, Telnet, SshReturn, PuttyAlone };
enum class Then { Stays, Hides, Ends };

TEST_F(LaunchE2E, AfterALaunchTheProgramEndsOrHidesAsSetButNotAfterAFailedSession) {
    const struct {
        const char* what;
        Putty putty;
        const char* quit;     // NachPuttyStartBeenden
        const char* minimize; // NachPuttyStartMinimieren
        Launch launch;
        Then then;
        bool errorBox;
    } cases[] = {
        {"session, quit", Putty::Fake, "1", "0", Launch::Session, Then::Ends, false},
        {"session, hide", Putty::Fake, "0", "1", Launch::Session, Then::Hides, false},
        {"session, quit wins over hide", Putty::Fake, "1", "1", Launch::Session, Then::Ends, false},
        {"telnet, hide", Putty::Fake, "0", "1", Launch::Telnet, Then::Hides, false},
        {"Return, quit", Putty::Fake, "1", "0", Launch::SshReturn, Then::Ends, false},
        {"PuTTY alone, both", Putty::Fake, "1", "1", Launch::PuttyAlone, Then::Ends, false},
        {"session, neither", Putty::Fake, "0", "0", Launch::Session, Then::Stays, false},
        {"missing: session, neither", Putty::Missing, "0", "0", Launch::Session, Then::Stays, true},
        {"missing: session, both", Putty::Missing, "1", "1", Launch::Session, Then::Stays, true},
        {"missing: session, hide", Putty::Missing, "0", "1", Launch::Session, Then::Stays, true},
        {"unset: session, quit", Putty::Unset, "1", "0", Launch::Session, Then::Stays, true},
        {"missing: telnet, neither", Putty::Missing, "0", "0", Launch::Telnet, Then::Stays, false},
        {"missing: telnet, quit", Putty::Missing, "1", "0", Launch::Telnet, Then::Ends, false},
        {"missing: telnet, hide", Putty::Missing, "0", "1", Launch::Telnet, Then::Hides, false},
        {"unset: Return, hide", Putty::Unset, "0", "1", Launch::SshReturn, Then::Hides, false},
        {"missing: PuTTY alone, quit", Putty::Missing, "1", "0", Launch::PuttyAlone, Then::Ends,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::QuarnelSetup setup; // afresh: no geometry stored by the case before
        if (c.putty != Putty::Unset) {
            setup.Setting("PuttyPfad",
                          Narrow(c.putty == Putty::Fake ? test::FakePuttyPath() : MissingPutty()));
        }
        setup.Setting("NachPuttyStartBeenden", c.quit)
            .Setting("NachPuttyStartMinimieren", c.minimize)
            .Session("Web%20Server", "Server");
        App& app = Start();
        const RECT outer = main_.WindowRect();
        const RECT client = main_.ClientRect();

        test::PendingCall click;
        switch (c.launch) {
        case Launch::Session:
            main_.ChooseFromMenuBar(1000);
            break;
        case Launch::Telnet:
            main_.Control(kHostField).SetText("router");
            click = main_.Control(kTelnetButton).ClickAsync();
            break;
        case Launch::SshReturn:
            main_.Control(kHostField).MouseClick();
            app.PressKey(VK_RETURN);
            break;
        case Launch::PuttyAlone:
            main_.ChooseFromMenuBar(kPuttySettings);
            break;
        }
        if (c.errorBox) {
            const Window box = app.WaitForMessageBox("Fehler");
            EXPECT_EQ(box.MessageText(), "Das ging schief");
            for (const Window& control : box.Controls()) { // no icon
                if (control.ClassName() == "Static") {
                    EXPECT_EQ(control.Send(STM_GETICON, 0, 0), 0) << control.Describe();
                }
            }
            EXPECT_TRUE(box.FindControl(IDOK).has_value());
            EXPECT_FALSE(box.FindControl(IDCANCEL).has_value());
            EXPECT_FALSE(box.FindControl(IDYES).has_value());
            box.Answer(IDOK);
        }

        if (c.then == Then::Ends) {
            EXPECT_EQ(app.WaitForExit(), 0u);
        } else {
            if (c.launch == Launch::Telnet) {
                // A box would hold the click; none may come.
                ASSERT_TRUE(test::WaitUntil(
                    [&] { return click.Done() || app.FindWindow(test::TitleIs("Fehler")); }));
            }
            main_.WaitUntilIdle();
            EXPECT_FALSE(app.FindWindow(test::TitleIs("Fehler")).has_value())
                << app.DescribeWindows();
            EXPECT_TRUE(app.IsRunning());
            if (c.then == Then::Hides) {
                main_.WaitUntilGone();
                EXPECT_TRUE(main_.Exists());
            } else {
                EXPECT_TRUE(main_.IsVisible());
            }
        }
        if (c.putty == Putty::Fake) {
            NextStart();
        } else {
            EXPECT_EQ(log_.Read().size(), starts_) << "putty.exe is missing, yet something started";
        }

        // The geometry is stored when the program ends or hides, and only then.
        const auto value = [](const char* name) { return RegistryRead(ProgramKey, name, "."); };
        if (c.then != Then::Stays) {
            EXPECT_EQ(value("FensterpositionX"), std::to_string(outer.left));
            EXPECT_EQ(value("FensterpositionY"), std::to_string(outer.top));
            EXPECT_EQ(value("Fensterbreite"), std::to_string(client.right - client.left));
            EXPECT_EQ(value("Fensterhoehe"),
                      std::to_string(client.bottom - client.top + GetSystemMetrics(SM_CYMENU)));
        } else {
            for (const char* name :
                 {"FensterpositionX", "FensterpositionY", "Fensterbreite", "Fensterhoehe"}) {
                EXPECT_EQ(value(name), "") << name;
            }
        }

        // Hidden in the tray, the program still starts sessions from the tray's menu.
        if (c.then == Then::Hides && c.putty == Putty::Fake) {
            ChooseSession(true, 1000);
            EXPECT_EQ(NextStart().arguments, Wide({"-load", "Web Server"}));
            main_.WaitUntilIdle();
            EXPECT_FALSE(main_.IsVisible());
        }
        if (app.IsRunning()) {
            main_.PostMenuCommand(990);
            EXPECT_EQ(app.WaitForExit(), 0u);
        }
        app_.reset();
    }
}

// Without a PuttyPfad of its own the program starts putty.exe in its start folder; a
// PuttyPfad without a folder is found there too, and gives no working folder.
TEST_F(LaunchE2E, PuttyOfTheStartFolder) {
    const std::wstring copy = startDir_ + L"\\putty.exe";
    ASSERT_TRUE(CopyFileW(test::FakePuttyPath().c_str(), copy.c_str(), FALSE));
    for (const char* stored : {"", "putty.exe"}) {
        SCOPED_TRACE(std::string("PuttyPfad [") + stored + "]");
        test::QuarnelSetup setup;
        setup.Setting("PuttyPfad", stored).Session("Web%20Server", "Server");
        Start();
        main_.ChooseFromMenuBar(1000);
        Seen seen = NextStart();
        EXPECT_EQ(seen.program.substr(seen.program.rfind(L'\\') + 1), L"putty.exe");
        EXPECT_EQ(seen.arguments, Wide({"-load", "Web Server"}));
        EXPECT_EQ(seen.folder, StartFolder());
        main_.Control(kHostField).SetText("example.org");
        main_.Control(kSshButton).Click();
        seen = NextStart();
        EXPECT_EQ(seen.arguments, Wide({"-ssh", "example.org"}));
        // The PuTTY folder is the start folder, or the current folder by default.
        EXPECT_EQ(seen.folder, StartFolder());

        main_.ChooseFromMenuBar(990);
        EXPECT_EQ(app_->WaitForExit(), 0u);
    }
    // The copy may be in use for a moment after its last start.
    EXPECT_TRUE(test::WaitUntil([&] { return DeleteFileW(copy.c_str()) != FALSE; }));
}

} // namespace
} // namespace quarnel
