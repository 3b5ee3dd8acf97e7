// The configuration window in the whole running program: quarnel.exe is started in the
// tests' Wine prefix and worked from outside, as a person works it. What these tests look
// at only shows across processes: the menus, the launches of the stand-in putty.exe, the
// restart into a new copy, the registry the next start finds.
#include "app/main_window.h"
#include "app/settings.h"
#include "config/config_window.h"
#include "registry/registry.h"
#include "sessions/catalogue.h"
#include "sessions/session_menu.h"
#include "testkit/fake_putty_log.h"
#include "testkit/quarnel_setup.h"
#include "testkit/ui_driver.h"
#include "vault/password_prompt.h"
#include "win/text.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <thread>

namespace quarnel::test {
namespace {

const std::string kConfigTitle = "Quarnel Konfiguration ";
const std::string kConfigClass = "QuarnelConfigWindow";
const std::string kMainClass = "QuarnelMainWindow";
const std::string kPromptTitle = "Quarnel Passwortabfrage";
const std::string kFirstRunTitle = "Ulvas Quarnel";
const std::string kFirstRunText =
    "Das Tool wurde zum Ersten Mal aufgerufen. Daher wurde ein Registry-Key erstellt. \r"
    "Um ihn wieder loszuwerden, einfach den Deinstallieren-Button verwenden.\r\r"
    "Bitte konfigurieren Sie nun zunächst die Einstellungen im folgenden Menü.";
const std::string kFileFound = "(Datei gefunden!. Alles OK!)";
const std::string kFileNotFound = "(Angegebene Datei nicht gefunden. Bitte prüfen!)";
const std::string kBrowseTitle = "Bitte Putty.exe Datei wählen:";
const std::string kSeparator = "---------------------";
const std::string kNoPutty = "Z:\\nirgends\\putty.exe";
// The restarted copy reads everything afresh, the prompt included: give it time.
constexpr Timeout kRestartTimeout{30000};

std::string FakePutty() {
    return Narrow(FakePuttyPath());
}

// A file name in double quotes, as the autostart value holds it.
std::string Quoted(const std::string& file) {
    std::string quoted = "\"";
    quoted += file;
    quoted += '"';
    return quoted;
}

std::string SessionKey(const std::string& keyName) {
    return SessionsKey + keyName;
}

bool HasValue(const std::string& key, const std::string& valueName) {
    return RegistryProbe(key, valueName, ".") != 0;
}

std::string Stored(const std::string& valueName) {
    return RegistryRead(ProgramKey, valueName, ".");
}

// The edit field inside an editable combo box.
Window ComboEdit(const Window& combo) {
    for (const Window& child : combo.Controls()) {
        if (child.ClassName() == "Edit") {
            return child;
        }
    }
    throw DriverError(combo.Describe() + " has no edit field");
}

// Replaces a field's text as a person does: all of it selected, then typed over, one
// character after the other.
void TypeOver(const Window& field, const std::string& text) {
    field.Send(EM_SETSEL, 0, -1);
    field.Type(text);
}

// The arguments the stand-in putty.exe saw, without the program name.
std::vector<std::string> Arguments(const FakePuttyStart& start) {
    std::vector<std::string> arguments;
    for (size_t i = 1; i < start.arguments.size(); ++i) {
        arguments.push_back(Narrow(start.arguments[i]));
    }
    return arguments;
}

std::string TempFolder(const std::string& prefix) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::string folder = Narrow(temp) + prefix + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    return folder;
}

// The program file a running process was started from.
std::string ImageOf(const App& app) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, app.ProcessId()));
    wchar_t image[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (!process || !QueryFullProcessImageNameW(process.get(), 0, image, &length)) {
        throw DriverError("cannot read the program file of process " +
                          std::to_string(app.ProcessId()));
    }
    return Narrow(std::wstring(image, length));
}

// A window of another program in the foreground, as when the user works elsewhere. It
// lives on a thread of its own that answers its messages, as a program's would.
class OtherProgramInFront {
  public:
    OtherProgramInFront() {
        std::promise<HWND> created;
        std::future<HWND> window = created.get_future();
        thread_ = std::thread([this, &created] {
            threadId_ = GetCurrentThreadId();
            UniqueWindow window(CreateWindowExW(0, L"STATIC", L"anderes Programm",
                                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                                nullptr, nullptr, nullptr, nullptr));
            SetForegroundWindow(window.get());
            created.set_value(window.get());
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                DispatchMessageW(&message);
            }
        });
        window_ = window.get();
        Await([&] { return GetForegroundWindow() == window_; },
              "another program to come to the foreground");
    }
    ~OtherProgramInFront() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    OtherProgramInFront(const OtherProgramInFront&) = delete;
    OtherProgramInFront& operator=(const OtherProgramInFront&) = delete;

  private:
    std::thread thread_;
    std::atomic<DWORD> threadId_{0};
    HWND window_ = nullptr;
};

// The copy of quarnel.exe that another copy started: the one, other than `old`, that
// shows a window matching `query`.
std::unique_ptr<App> WaitForNewCopy(DWORD old, const WindowQuery& query) {
    struct Search {
        const WindowQuery* query;
        DWORD old;
        DWORD found;
    } search{&query, old, 0};
    Await(
        [&] {
            EnumWindows(
                [](HWND window, LPARAM param) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(param);
                    DWORD process = 0;
                    GetWindowThreadProcessId(window, &process);
                    wchar_t title[512] = {};
                    GetWindowTextW(window, title, 512);
                    const std::string text = Narrow(title);
                    const bool titleMatches =
                        s->query->titlePrefix
                            ? text.compare(0, s->query->title.size(), s->query->title) == 0
                            : text == s->query->title;
                    if (process != s->old && IsWindowVisible(window) && titleMatches &&
                        (s->query->className.empty() ||
                         Window(window).ClassName() == s->query->className)) {
                        s->found = process;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            return search.found != 0;
        },
        "a new copy of quarnel.exe showing " + query.Describe(), kRestartTimeout);
    return std::make_unique<App>(search.found);
}

class E2eConfigTest : public ::testing::Test {
  protected:
    // Starts quarnel.exe and waits for its main window.
    Window Start(LaunchOptions options = {}) {
        app_.reset();
        app_ = std::make_unique<App>(std::move(options));
        main_ = app_->WaitForWindow(TitleStartsWith(kMainTitlePrefix, kMainClass));
        return main_;
    }

    // The window shows as it is made; it is filled once the program takes input again.
    Window WaitForConfig(const App& app) const {
        const Window config = app.WaitForWindow(TitleIs(kConfigTitle, kConfigClass));
        config.WaitUntilIdle();
        return config;
    }

    Window OpenConfig() {
        main_.ChooseFromMenuBar(kConfigureItem);
        return WaitForConfig(*app_);
    }

    // "Beenden" from the menu bar, or from the tray popup while the main window is in the
    // tray; the program ends without trouble.
    static void Quit(const App& app, const Window& main) {
        if (main.IsVisible()) {
            main.ChooseFromMenuBar(kQuitItem);
        } else {
            app.Tray(main, WM_RBUTTONUP);
            app.ChooseFromPopupMenu(kQuitItem);
        }
        EXPECT_EQ(app.WaitForExit(), 0u);
    }

    // The restart button: this copy ends and a new one takes over, found by its first
    // window (`firstWindow`).
    std::unique_ptr<App> Restart(const Window& config, const WindowQuery& firstWindow) {
        const PendingCall click = config.Control(kRestartButton).ClickAsync(); // never answered
        EXPECT_EQ(app_->WaitForExit(kRestartTimeout), 0u);
        return WaitForNewCopy(app_->ProcessId(), firstWindow);
    }

    // A folder of the test's own to start the program in.
    std::string OtherFolder() {
        if (otherFolder_.empty()) {
            otherFolder_ = TempFolder("quarnel-e2e-config-");
        }
        return otherFolder_;
    }

    // A copy of quarnel.exe in a folder with a blank in its name, as under "Program Files".
    std::wstring ProgramCopy() {
        if (copyFolder_.empty()) {
            copyFolder_ = TempFolder("Quarnel Kopie ");
            const std::wstring copy = Widen(copyFolder_) + L"\\quarnel.exe";
            if (!CopyFileW((BuildDir() + L"\\quarnel.exe").c_str(), copy.c_str(), FALSE)) {
                throw DriverError("cannot copy quarnel.exe to " + copyFolder_);
            }
        }
        return Widen(copyFolder_) + L"\\quarnel.exe";
    }

    void TearDown() override {
        restarted_.reset();
        app_.reset();
        if (!copyFolder_.empty()) {
            DeleteFileW(ProgramCopy().c_str());
            RemoveDirectoryW(Widen(copyFolder_).c_str());
        }
        if (!otherFolder_.empty()) {
            RemoveDirectoryW(Widen(otherFolder_).c_str());
        }
    }

    QuarnelSetup setup_;
    FakePuttyLog putty_;
    std::string otherFolder_;
    std::string copyFolder_;
    std::unique_ptr<App> app_;
    std::unique_ptr<App> restarted_;
    Window main_;
};

// ---------------------------------------------------------------------------------------
// Opening

TEST_F(E2eConfigTest, OpensFromMenuBarTrayPopupAndFirstRunAndOnceOnly) {
    enum class Way { MenuBar, TrayPopup, FirstRun };
    const struct {
        const char* name;
        Way way;
        bool inTray; // the main window starts hidden in the tray
    } cases[] = {
        {"menu bar", Way::MenuBar, false},
        {"tray popup", Way::TrayPopup, false},
        {"tray popup, main window in the tray", Way::TrayPopup, true},
        {"first run", Way::FirstRun, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QuarnelSetup setup;
        setup.Session("alpha").Session("web%20server", "Server");
        if (c.way != Way::FirstRun) {
            setup.LaterRun();
        }
        if (c.inTray) {
            setup.Setting("Startminimized", "1");
        }
        Start();
        if (c.inTray) {
            main_.WaitUntilGone();
        }
        App& app = *app_;
        const auto choose = [&](Way way) {
            if (way == Way::TrayPopup) {
                app.Tray(main_, WM_RBUTTONUP);
                app.ChooseFromPopupMenu(kConfigureItem);
            } else {
                main_.ChooseFromMenuBar(kConfigureItem);
            }
        };
        if (c.way == Way::FirstRun) {
            const Window box = app.WaitForMessageBox(kFirstRunTitle);
            EXPECT_EQ(box.MessageText(), kFirstRunText);
            EXPECT_FALSE(app.FindWindow(TitleIs(kConfigTitle)));
            EXPECT_TRUE(RegistryKeyExists(ProgramKey, "."));
            box.Answer(IDOK);
        } else {
            main_.WaitUntilIdle();
            ASSERT_FALSE(app.FindWindow(TitleIs(kConfigTitle)));
            EXPECT_FALSE(app.FindWindow(TitleIs(kFirstRunTitle)));
            choose(c.way);
        }
        const Window config = WaitForConfig(app);
        EXPECT_EQ(
            config.Control(kSessionCombo).ComboEntries(),
            (std::vector<std::string>{"Bitte Session wählen:", kSeparator, "alpha", "web server"}));
        EXPECT_EQ(config.Control(kMenuCombo).ComboEntries(),
                  (std::vector<std::string>{"", kSeparator, "Server", kSeparator}));

        // A second "Quarnel konfigurieren" only brings the window forward.
        const Window menuText = ComboEdit(config.Control(kMenuCombo));
        menuText.Type("Neues Menü");
        const OtherProgramInFront other;
        choose(c.way == Way::FirstRun ? Way::MenuBar : c.way);
        Await([&] { return GetForegroundWindow() == config.Handle(); },
              "the configuration window to come forward");
        int open = 0;
        for (const Window& window : app.TopLevelWindows()) {
            open += window.ClassName() == kConfigClass ? 1 : 0;
        }
        EXPECT_EQ(open, 1);
        EXPECT_EQ(menuText.Text(), "Neues Menü");
        EXPECT_EQ(config.Control(kSessionCombo).ComboEntries().size(), 4u);
        Quit(app, main_);
    }
}

// ---------------------------------------------------------------------------------------
// Restart

TEST_F(E2eConfigTest, AMenuSavedThenRestartShowsTheSessionUnderItsMenu) {
    setup_.LaterRun().Session("alpha").Session("beta");
    // The program file lies elsewhere than the working folder: the restart starts the
    // program's own file, in the same working folder.
    LaunchOptions options;
    options.program = ProgramCopy();
    options.workingDirectory = OtherFolder();
    Start(options);
    const Window config = OpenConfig();
    config.Control(kSessionCombo).PickComboEntry("beta");
    ComboEdit(config.Control(kMenuCombo)).Type("Server");
    config.Control(kSaveButton).Click();
    EXPECT_EQ(RegistryRead(SessionKey("beta"), MenuValueName, "."), "Server");
    // Only the next start builds the menus.
    EXPECT_EQ(main_.ReadMenuBar().items.size(), 2u);

    restarted_ = Restart(config, TitleStartsWith(kMainTitlePrefix, kMainClass));
    EXPECT_EQ(ImageOf(*restarted_), Narrow(ProgramCopy()));
    const Window main = restarted_->WaitForWindow(TitleStartsWith(kMainTitlePrefix, kMainClass));
    const std::string menus = "DATEI     \n"
                              "  Putty Einstellungen [901]\n"
                              "  Quarnel konfigurieren [910]\n"
                              "  ---\n"
                              "  Über dieses Tool [980]\n"
                              "  ---\n"
                              "  Beenden [990]\n"
                              "Server\n"
                              "  beta [1000]\n"
                              "WEITERE...\n"
                              "  alpha [1001]\n";
    EXPECT_EQ(main.ReadMenuBar().Dump(), menus);
    restarted_->Tray(main, WM_RBUTTONUP);
    EXPECT_EQ(restarted_->WaitForPopupMenu().Dump(), menus);
    restarted_->DismissMenu();
    // Without a stored path the new copy looks for putty.exe in its working folder.
    main.ChooseFromMenuBar(kConfigureItem);
    const Window newConfig = WaitForConfig(*restarted_);
    EXPECT_EQ(newConfig.Control(kPuttyPathField).Text(), OtherFolder() + "\\putty.exe");
    EXPECT_EQ(newConfig.Control(kMenuCombo).ComboEntries(),
              (std::vector<std::string>{"", kSeparator, "Server", kSeparator}));
    main.Close();
    EXPECT_EQ(restarted_->WaitForExit(), 0u);
}

// ---------------------------------------------------------------------------------------
// General options act on the next launch of the same run

TEST_F(E2eConfigTest, GeneralOptionsGovernTheNextLaunchWithoutARestart) {
    enum class Afterwards { Shown, InTray, Ended };
    const struct {
        const char* name;
        std::string puttyPath; // stored at the start
        std::function<void(const Window& config)> change;
        std::function<void(const Window& main)> launch;
        std::vector<std::string> arguments;
        Afterwards afterwards;
    } cases[] = {
        {"quit after launch",
         FakePutty(),
         [](const Window& config) {
             config.Control(kQuitAfterLaunchCheck).Click();
             EXPECT_EQ(Stored("NachPuttyStartBeenden"), "1");
         },
         [](const Window& main) { main.ChooseFromMenuBar(kFirstSessionItem); },
         {"-load", "alpha"},
         Afterwards::Ended},
        {"minimise after launch",
         FakePutty(),
         [](const Window& config) {
             config.Control(kMinimizeAfterLaunchCheck).Click();
             EXPECT_EQ(Stored("NachPuttyStartMinimieren"), "1");
         },
         [](const Window& main) { main.ChooseFromMenuBar(kFirstSessionItem + 1); },
         {"-load", "web server"},
         Afterwards::InTray},
        {"template for SSH",
         FakePutty(),
         [](const Window& config) {
             config.Control(kSshTemplateCombo).PickComboEntry("web server");
             EXPECT_EQ(Stored("SSHSessionVorlage"), "web server");
         },
         [](const Window& main) {
             main.Control(kHostField).Type("host.example");
             main.Control(kSshButton).RightClick();
         },
         {"-load", "web server", "-ssh", "host.example"},
         Afterwards::Shown},
        {"path typed",
         kNoPutty,
         [](const Window& config) {
             TypeOver(config.Control(kPuttyPathField), FakePutty());
             EXPECT_EQ(config.Control(kPuttyPathStatusLabel).Text(), kFileFound);
             EXPECT_EQ(Stored("PuttyPfad"), FakePutty());
         },
         [](const Window& main) { main.ChooseFromMenuBar(kFirstSessionItem); },
         {"-load", "alpha"},
         Afterwards::Shown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QuarnelSetup setup;
        setup.Setting("PuttyPfad", c.puttyPath).Session("alpha").Session("web%20server");
        FakePuttyLog putty;
        Start();
        const Window config = OpenConfig();
        c.change(config);
        config.Close();
        app_->WaitForNoWindow(TitleIs(kConfigTitle));
        c.launch(main_);
        const std::vector<FakePuttyStart> starts = putty.WaitFor(1);
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(Arguments(starts[0]), c.arguments);
        switch (c.afterwards) {
        case Afterwards::Ended:
            EXPECT_EQ(app_->WaitForExit(), 0u);
            break;
        case Afterwards::InTray:
            main_.WaitUntilGone();
            EXPECT_TRUE(main_.Exists());
            app_->Tray(main_, WM_RBUTTONUP);
            app_->ChooseFromPopupMenu(kQuitItem);
            EXPECT_EQ(app_->WaitForExit(), 0u);
            break;
        case Afterwards::Shown:
            EXPECT_TRUE(main_.IsVisible());
            Quit(*app_, main_);
            break;
        }
        EXPECT_EQ(putty.Read().size(), 1u);
    }
}

// ---------------------------------------------------------------------------------------
// Passwords

TEST_F(E2eConfigTest, APasswordStoredInTheWindowReachesPuttyAfterARestart) {
    setup_.WithFakePutty().Session("alpha").Session("beta");
    Start();
    const Window config = OpenConfig();
    config.Control(kPasswordFunctionCheck).Click();
    EXPECT_EQ(Stored("Passwortfunktionalitaet"), "1");
    config.Control(kMasterPasswordField).Type("Haupt Wort");
    // Neither step shows a box: it would hold these calls until answered.
    config.Control(kSessionCombo).PickComboEntry("alpha");
    config.Control(kSessionPasswordField).Type("geh eim\"1");
    config.Control(kSaveButton).Click();
    EXPECT_TRUE(HasValue(SessionKey("alpha"), PasswordValueName));
    EXPECT_FALSE(HasValue(SessionKey("beta"), PasswordValueName));

    restarted_ = Restart(config, TitleIs(kPromptTitle));
    const Window prompt = restarted_->WaitForWindow(TitleIs(kPromptTitle));
    prompt.WaitUntilIdle(); // its controls follow the window
    prompt.Control(kPromptPasswordField).Type("Haupt Wort");
    prompt.Control(kPromptOkButton).Click();
    const Window main = restarted_->WaitForWindow(TitleStartsWith(kMainTitlePrefix, kMainClass));
    // One after the other: the stand-ins of two launches may log in either order.
    main.ChooseFromMenuBar(kFirstSessionItem); // alpha, the first under WEITERE...
    ASSERT_EQ(putty_.WaitFor(1).size(), 1u);
    main.ChooseFromMenuBar(kFirstSessionItem + 1);
    const std::vector<FakePuttyStart> starts = putty_.WaitFor(2);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(Arguments(starts[0]),
              (std::vector<std::string>{"-pw", "geh eim\"1", "-load", "alpha"}));
    EXPECT_EQ(Arguments(starts[1]), (std::vector<std::string>{"-load", "beta"}));
    main.Close();
    EXPECT_EQ(restarted_->WaitForExit(), 0u);
}

// ---------------------------------------------------------------------------------------
// Autostart

TEST_F(E2eConfigTest, AutostartRegistersTheProgramsOwnFileAndRemovesIt) {
    const struct {
        const char* name;
        bool copy;        // a copy of the program in a folder with a blank in its name
        bool otherFolder; // started with another working folder than the program's
    } cases[] = {
        {"started in its folder", false, false},
        {"started in another folder", false, true},
        {"folder with a blank", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QuarnelSetup setup;
        setup.LaterRun();
        LaunchOptions options;
        options.workingDirectory = c.otherFolder ? OtherFolder() : Narrow(BuildDir());
        if (c.copy) {
            options.program = ProgramCopy();
        }
        const std::string quoted = Quoted(Narrow(options.program));
        Start(options);
        Window config = OpenConfig();
        EXPECT_FALSE(config.Control(kAutostartCheck).IsChecked());
        config.Control(kAutostartCheck).Click();
        EXPECT_TRUE(config.Control(kAutostartCheck).IsChecked());
        const std::string machine = RegistryRead(MachineRunKey, AutostartValueName, ".");
        const std::string user = RegistryRead(UserRunKey, AutostartValueName, ".");
        EXPECT_EQ(machine.empty() ? user : machine, quoted);

        // The window opened again shows the state of this run, and the next start finds
        // the value.
        config.Close();
        app_->WaitForNoWindow(TitleIs(kConfigTitle));
        EXPECT_TRUE(OpenConfig().Control(kAutostartCheck).IsChecked());
        Quit(*app_, main_);
        Start(options);
        config = OpenConfig();
        EXPECT_TRUE(config.Control(kAutostartCheck).IsChecked());

        config.Control(kAutostartCheck).Click();
        EXPECT_FALSE(config.Control(kAutostartCheck).IsChecked());
        EXPECT_FALSE(HasValue(MachineRunKey, AutostartValueName));
        EXPECT_FALSE(HasValue(UserRunKey, AutostartValueName));
        config.Close();
        app_->WaitForNoWindow(TitleIs(kConfigTitle));
        EXPECT_FALSE(OpenConfig().Control(kAutostartCheck).IsChecked());
        Quit(*app_, main_);
    }
}

// ---------------------------------------------------------------------------------------
// Uninstall

TEST_F(E2eConfigTest, UninstallOnYesLeavesNothingAndTheNextStartIsAFirstRun) {
    const struct {
        const char* name;
        int answer;
    } cases[] = {{"Yes", IDYES}, {"No", IDNO}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QuarnelSetup setup;
        setup.WithFakePutty()
            .Setting("SSHSessionVorlage", "alpha")
            .Session("alpha", "Server", "geheim", "Haupt")
            .Session("beta", "Server");
        RegistryWrite(SessionKey("alpha"), "HostName", "alpha.example", kRegSz, ".");
        RegistryWrite(MachineRunKey, AutostartValueName,
                      Quoted(Narrow(BuildDir() + L"\\quarnel.exe")), kRegSz, ".");
        Start();
        const Window config = OpenConfig();
        EXPECT_TRUE(config.Control(kAutostartCheck).IsChecked());
        const PendingCall click = config.Control(kUninstallButton).ClickAsync();
        const Window box = app_->WaitForMessageBox("Quarnel deinstallieren");
        EXPECT_EQ(box.MessageText(),
                  "Es werden alle von Quarnel angelegten Registryeinträge "
                  "(Einstellungen/Menüs/Passwörter) entfernt.\r(Die quarnel.exe bleibt erhalten "
                  "und muß ggf. manuell gelöscht werden).\rWirklich fortfahren?");
        box.Answer(c.answer);
        click.Wait();
        const bool gone = c.answer == IDYES;
        EXPECT_EQ(RegistryKeyExists(ProgramKey, "."), gone ? 0 : 1);
        EXPECT_EQ(HasValue(SessionKey("alpha"), MenuValueName), !gone);
        EXPECT_EQ(HasValue(SessionKey("alpha"), PasswordValueName), !gone);
        EXPECT_EQ(HasValue(SessionKey("beta"), MenuValueName), !gone);
        EXPECT_EQ(HasValue(MachineRunKey, AutostartValueName), !gone);
        EXPECT_EQ(RegistryRead(SessionKey("alpha"), "HostName", "."), "alpha.example");
        EXPECT_TRUE(config.Exists() && config.IsVisible());

        // Settings changed afterwards, and the geometry stored at the end, find no key.
        config.Control(kQuitAfterLaunchCheck).Click();
        TypeOver(config.Control(kPuttyPathField), FakePutty());
        EXPECT_EQ(config.Control(kPuttyPathStatusLabel).Text(), kFileFound);
        Quit(*app_, main_);
        EXPECT_EQ(RegistryKeyExists(ProgramKey, "."), gone ? 0 : 1);
        if (!gone) {
            EXPECT_EQ(Stored("NachPuttyStartBeenden"), "1");
            EXPECT_EQ(Stored("SSHSessionVorlage"), "alpha");
        }

        Start();
        if (gone) {
            app_->WaitForMessageBox(kFirstRunTitle).Answer(IDOK);
            WaitForConfig(*app_);
        } else {
            // A first-run box would be up once the program takes input after its start.
            main_.WaitUntilIdle();
            EXPECT_FALSE(app_->FindWindow(TitleIs(kFirstRunTitle)));
        }
        Quit(*app_, main_);
    }
}

// ---------------------------------------------------------------------------------------
// Browse

// The file name field of the file requester: the edit field of its combo box cmb13.
Window FileNameField(const Window& requester) {
    constexpr int kFileNameCombo = 0x47C;
    return ComboEdit(requester.Control(kFileNameCombo));
}

TEST_F(E2eConfigTest, TheFileRequesterPutsTheChosenFileIntoThePathOrEmptiesItOnCancel) {
    constexpr int kLookInCombo = 0x471; // cmb2
    const struct {
        const char* name;
        bool choose; // type the stand-in's path and press Open; else Cancel
    } cases[] = {{"chosen", true}, {"cancelled", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QuarnelSetup setup;
        const std::string before = c.choose ? kNoPutty : FakePutty();
        setup.Setting("PuttyPfad", before).Session("alpha");
        FakePuttyLog putty;
        LaunchOptions options;
        options.workingDirectory = OtherFolder();
        Start(options);
        const Window config = OpenConfig();
        const PendingCall click = config.Control(kBrowseButton).ClickAsync();
        const Window requester = app_->WaitForMessageBox(kBrowseTitle);
        // Modal for the whole program, not only for its owner.
        EXPECT_FALSE(main_.IsEnabled());
        EXPECT_FALSE(config.IsEnabled());
        if (c.choose) {
            TypeOver(FileNameField(requester), FakePutty());
            requester.Answer(IDOK);
        } else {
            // It opens in the folder of the current path, with its file name preset.
            EXPECT_EQ(requester.Control(kLookInCombo).Text(), "fake_putty");
            EXPECT_EQ(FileNameField(requester).Text(), "putty.exe");
            requester.Answer(IDCANCEL);
        }
        click.Wait();
        EXPECT_TRUE(main_.IsEnabled());
        EXPECT_TRUE(config.IsEnabled());
        const std::string after = c.choose ? FakePutty() : std::string();
        EXPECT_EQ(config.Control(kPuttyPathField).Text(), after);
        EXPECT_EQ(config.Control(kPuttyPathStatusLabel).Text(),
                  c.choose ? kFileFound : kFileNotFound);
        EXPECT_EQ(Stored("PuttyPfad"), c.choose ? FakePutty() : before);
        if (c.choose) {
            // The chosen file is the one started; started bare, it runs in the program's
            // working folder, which the requester left as it was.
            main_.ChooseFromMenuBar(kPuttySettingsItem);
            const std::vector<FakePuttyStart> starts = putty.WaitFor(1);
            ASSERT_EQ(starts.size(), 1u);
            EXPECT_TRUE(Arguments(starts[0]).empty());
            EXPECT_EQ(Narrow(starts[0].currentDirectory), OtherFolder());
        }
        Quit(*app_, main_);
    }
}

// ---------------------------------------------------------------------------------------
// Boxes and the file requester are modal for the whole program, its tray icon included

TEST_F(E2eConfigTest, WhileABoxOrTheRequesterIsOpenTheTrayIconDoesNothing) {
    const struct {
        const char* name;
        int button;
        std::string title;
        int answer;
        bool inTray; // the main window hidden in the tray
    } cases[] = {
        {"uninstall question", kUninstallButton, "Quarnel deinstallieren", IDNO, false},
        {"uninstall question, main window in the tray", kUninstallButton, "Quarnel deinstallieren",
         IDNO, true},
        {"file requester", kBrowseButton, kBrowseTitle, IDCANCEL, false},
        {"file requester, main window in the tray", kBrowseButton, kBrowseTitle, IDCANCEL, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QuarnelSetup setup;
        setup.WithFakePutty().Session("alpha");
        if (c.inTray) {
            setup.Setting("Startminimized", "1");
        }
        Start();
        if (c.inTray) {
            main_.WaitUntilGone();
        }
        app_->Tray(main_, WM_RBUTTONUP);
        app_->ChooseFromPopupMenu(kConfigureItem);
        const Window config = WaitForConfig(*app_);
        const PendingCall click = config.Control(c.button).ClickAsync();
        const Window box = app_->WaitForMessageBox(c.title);
        EXPECT_FALSE(main_.IsEnabled());
        app_->Tray(main_, WM_RBUTTONUP);
        EXPECT_FALSE(app_->PopupMenuOpen());
        if (app_->PopupMenuOpen()) {
            app_->DismissMenu();
        }
        app_->Tray(main_, WM_LBUTTONUP);
        EXPECT_EQ(main_.IsVisible(), !c.inTray);
        box.Answer(c.answer);
        click.Wait();

        // Afterwards the icon answers again.
        EXPECT_TRUE(main_.IsEnabled());
        app_->Tray(main_, WM_RBUTTONUP);
        EXPECT_TRUE(app_->PopupMenuOpen());
        app_->ChooseFromPopupMenu(kQuitItem);
        EXPECT_EQ(app_->WaitForExit(), 0u);
    }
}

} // namespace
} // namespace quarnel::test
