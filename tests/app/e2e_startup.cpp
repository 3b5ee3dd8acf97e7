// Start-up of the running program: first and later runs, one copy per file name, the
// stored geometry and starting hidden in the tray.
#include "e2e_fixture.h"

#include "app/settings.h"
#include "registry/registry.h"
#include "testkit/test_support.h"
#include "win/text.h"

#include <set>
#include <stdexcept>

namespace quarnel::test {
namespace {

const std::string kFirstRunText =
    "Das Tool wurde zum Ersten Mal aufgerufen. Daher wurde ein Registry-Key erstellt. \r"
    "Um ihn wieder loszuwerden, einfach den Deinstallieren-Button verwenden.\r\r"
    "Bitte konfigurieren Sie nun zunächst die Einstellungen im folgenden Menü.";

std::string FakePuttyFolder() {
    const std::string path = Narrow(FakePuttyPath());
    return path.substr(0, path.rfind('\\'));
}

class E2eStartup : public E2eTest {
  protected:
    // Types `host`, makes the main window active and presses Return in `where`.
    void TypeAndReturn(const std::string& host, int where = kHostField) {
        main_.Control(kHostField).Type(host);
        Activate(main_);
        main_.Control(where).PressKey(VK_RETURN);
    }
};

TEST_F(E2eStartup, FirstRunCreatesTheKeyWelcomesAndOpensTheConfiguration) {
    LaunchOptions options;
    // The default PuTTY path, the start folder's putty.exe, is the stand-in.
    options.workingDirectory = FakePuttyFolder();
    App& app = Start(options, false);

    const Window box = app.WaitForMessageBox("Ulvas Quarnel");
    EXPECT_TRUE(RegistryKeyExists(ProgramKey, "."));
    EXPECT_TRUE(main_.IsVisible()) << "the welcome shows over the open main window";
    EXPECT_FALSE(main_.IsEnabled()) << "the welcome is modal";
    EXPECT_FALSE(app.FindWindow(TitleIs(kConfigTitle)));
    EXPECT_EQ(box.MessageText(), kFirstRunText);
    EXPECT_TRUE(box.FindControl(IDOK));
    for (const int other : {IDCANCEL, IDYES, IDNO}) {
        EXPECT_FALSE(box.FindControl(other)) << "button " << other;
    }
    for (const Window& control : box.Controls()) {
        const bool icon = (GetWindowLongW(control.Handle(), GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        EXPECT_FALSE(icon && control.IsVisible() && control.Send(STM_GETICON, 0, 0) != 0)
            << "the box shows an icon";
    }

    box.Answer(IDOK);
    app.WaitForWindow(TitleIs(kConfigTitle));
    main_.WaitUntilIdle();
    EXPECT_TRUE(main_.IsVisible());
    EXPECT_TRUE(main_.IsEnabled());
    // The key was made empty; only what the windows write since then is in it.
    EXPECT_EQ(StoredGeometry(), kNoGeometry);

    TypeAndReturn("erstlauf");
    EXPECT_EQ(LaunchedOptions(), std::vector<std::string>{})
        << "Return does nothing on a first run";
    // While a launch does start the default PuTTY.
    main_.Control(kTelnetButton).Click();
    EXPECT_EQ(LaunchedOptions(), std::vector<std::string>{"-telnet erstlauf"});
    CloseProgram();
}

TEST_F(E2eStartup, LaterRunShowsNoMessageFocusesTheHostFieldAndTakesReturn) {
    setup_.WithFakePutty();
    App& app = Start();
    EXPECT_FALSE(app.FindWindow(TitleIs("Ulvas Quarnel")));
    EXPECT_FALSE(app.FindWindow(TitleIs(kConfigTitle)));
    EXPECT_TRUE(main_.IsVisible());
    EXPECT_EQ(main_.Text(), "Quarnel V. 0.53 - PuTTY-Sitzungen mit einem Klick");
    EXPECT_EQ(Focus(), main_.Control(kHostField));

    // Return starts SSH whichever gadget has the focus.
    TypeAndReturn("a");
    TypeAndReturn("b", kSshButton);
    TypeAndReturn("c", kTelnetButton);
    EXPECT_EQ(LaunchedOptions(), (std::vector<std::string>{"-ssh a", "-ssh ab", "-ssh abc"}));
    CloseProgram();
}

// Without a stored path, PuTTY is looked for in the folder the program was started in.
TEST_F(E2eStartup, TheDefaultPuttyPathFollowsTheStartFolder) {
    const struct {
        std::string folder;
        std::string path;
    } cases[] = {
        {FakePuttyFolder(), FakePuttyFolder() + "\\putty.exe"},
        {"C:\\", "C:\\\\putty.exe"}, // a drive root keeps its backslash
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        QuarnelSetup setup;
        setup.LaterRun();
        LaunchOptions options;
        options.workingDirectory = c.folder;
        App& app = Start(options);
        main_.ChooseFromMenuBar(kMenuConfigure);
        const Window config = app.WaitForWindow(TitleIs(kConfigTitle));
        main_.WaitUntilIdle();
        EXPECT_EQ(config.Control(15).Text(), c.path);
        CloseProgram();
    }
}

// The master password is asked for before the main window opens, when the stored flag
// is on; a flag takes the low 8 bits of the number stored.
TEST_F(E2eStartup, ThePasswordFunctionAsksForTheMasterPasswordFirst) {
    const struct {
        const char* stored; // nullptr: missing
        bool asks;
    } cases[] = {{nullptr, false}, {"0", false}, {"1", true}, {"256", false}, {"257", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(missing)");
        QuarnelSetup setup;
        setup.LaterRun();
        if (c.stored) {
            setup.Setting("Passwortfunktionalitaet", c.stored);
        }
        if (!c.asks) {
            Start();
            WindowQuery prompt = TitleIs("Quarnel Passwortabfrage");
            prompt.visibleOnly = false;
            EXPECT_FALSE(app_->FindWindow(prompt));
            CloseProgram();
            continue;
        }
        app_ = std::make_unique<App>();
        const Window prompt = app_->WaitForWindow(TitleIs("Quarnel Passwortabfrage"));
        prompt.WaitUntilIdle();
        WindowQuery anyMain = TitleStartsWith(kMainTitlePrefix);
        anyMain.visibleOnly = false;
        EXPECT_FALSE(app_->FindWindow(anyMain)) << "the main window opened before the prompt";
        prompt.Control(34).Type("geheim");
        prompt.Control(34).PressKey(VK_RETURN);
        main_ = app_->WaitForWindow(TitleStartsWith(kMainTitlePrefix));
        main_.WaitUntilIdle();
        EXPECT_FALSE(prompt.Exists());
        CloseProgram();
    }
}

// Records which threads showed a window, through the system's window events.
class ShownWindows {
  public:
    ShownWindows() {
        instance_ = this;
        hook_ =
            SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, &ShownWindows::Seen, 0,
                            0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    }
    ~ShownWindows() {
        UnhookWinEvent(hook_);
        instance_ = nullptr;
    }
    ShownWindows(const ShownWindows&) = delete;
    ShownWindows& operator=(const ShownWindows&) = delete;

    bool Hooked() const { return hook_ != nullptr; }
    // Takes the events delivered so far; whether a window of `thread` was made or shown.
    bool From(DWORD thread) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        return threads_.count(thread) != 0;
    }

  private:
    static void CALLBACK Seen(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD thread,
                              DWORD) {
        if (instance_ != nullptr && window != nullptr && object == OBJID_WINDOW) {
            instance_->threads_.insert(thread);
        }
    }

    static inline ShownWindows* instance_ = nullptr;
    HWINEVENTHOOK hook_ = nullptr;
    std::set<DWORD> threads_;
};

// A folder of its own holding a copy of quarnel.exe under the given file name.
class ProgramCopy {
  public:
    explicit ProgramCopy(const std::wstring& fileName) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"quarnel-copy-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder_.c_str(), nullptr);
        path_ = folder_ + L"\\" + fileName;
        if (!CopyFileW((BuildDir() + L"\\quarnel.exe").c_str(), path_.c_str(), FALSE)) {
            throw std::runtime_error("cannot copy quarnel.exe to " + Narrow(path_));
        }
    }
    ~ProgramCopy() {
        DeleteFileW(path_.c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;
    const std::wstring& Path() const { return path_; }

  private:
    std::wstring folder_;
    std::wstring path_;
};

TEST_F(E2eStartup, ASecondCopyOfTheSameFileNameEndsAtOnceAndSilently) {
    setup_.LaterRun().Session("eins", "A");
    ShownWindows shown;
    ASSERT_TRUE(shown.Hooked());
    App& first = Start();
    ASSERT_TRUE(WaitUntil([&] { return shown.From(first.MainThreadId()); }))
        << "the window events do not reach the test, so a second copy's windows would not either";
    const std::vector<std::string> windows = AllWindows();
    const HWND foreground = GetForegroundWindow();
    const RECT place = main_.WindowRect();
    const std::string bar = main_.ReadMenuBar().Dump();
    main_.Control(kHostField).Type("erste");

    const struct {
        const char* how;
        std::wstring program;
    } copies[] = {
        {"the same file", BuildDir() + L"\\quarnel.exe"},
        {"the same file name in another folder", L""},
    };
    const ProgramCopy elsewhere(L"quarnel.exe");
    for (const auto& c : copies) {
        SCOPED_TRACE(c.how);
        LaunchOptions options;
        options.program = c.program.empty() ? elsewhere.Path() : c.program;
        App second(options);
        EXPECT_EQ(second.WaitForExit(), 0u);
        EXPECT_FALSE(shown.From(second.MainThreadId())) << "the second copy showed a window";

        // The first copy goes on as it was, and nothing was stored.
        ASSERT_TRUE(first.IsRunning());
        main_.WaitUntilIdle();
        EXPECT_EQ(AllWindows(), windows);
        EXPECT_EQ(GetForegroundWindow(), foreground) << "the first copy was brought to the front";
        EXPECT_TRUE(main_.IsVisible());
        const RECT now = main_.WindowRect();
        EXPECT_TRUE(EqualRect(&now, &place));
        EXPECT_EQ(main_.ReadMenuBar().Dump(), bar);
        EXPECT_EQ(main_.Control(kHostField).Text(), "erste");
        EXPECT_EQ(StoredGeometry(), kNoGeometry);
    }
    CloseProgram();
}

TEST_F(E2eStartup, ACopyUnderAnotherFileNameRunsBesideTheFirst) {
    setup_.LaterRun();
    App& first = Start();
    const ProgramCopy other(L"quarnel-zwei.exe");
    LaunchOptions options;
    options.program = other.Path();
    App second(options);
    const Window secondMain = second.WaitForWindow(TitleStartsWith(kMainTitlePrefix));
    secondMain.WaitUntilIdle();
    EXPECT_TRUE(first.IsRunning());
    EXPECT_TRUE(second.IsRunning());
    secondMain.Close();
    EXPECT_EQ(second.WaitForExit(), 0u);
    CloseProgram();
}

TEST_F(E2eStartup, TheStoredGeometryPlacesTheMainWindow) {
    const struct {
        const char* x;
        const char* y;
        const char* width;
        const char* height;
        POINT corner;
        SIZE client; // with the menu bar
    } cases[] = {
        {nullptr, nullptr, nullptr, nullptr, {10, 10}, {500, 60}},
        {"200", "150", "640", "120", {200, 150}, {640, 120}},
        {"-5", "30", "400", "90", {-5, 30}, {400, 90}}, // a negative place is used as it is
        {"0", "abc", "0", "", {10, 10}, {500, 60}},     // 0 and no number read as the default
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.x ? c.x : "(none)") + " " + (c.y ? c.y : "(none)"));
        QuarnelSetup setup;
        setup.LaterRun();
        const std::pair<const char*, const char*> stored[] = {{"FensterpositionX", c.x},
                                                              {"FensterpositionY", c.y},
                                                              {"Fensterbreite", c.width},
                                                              {"Fensterhoehe", c.height}};
        for (const auto& [name, text] : stored) {
            if (text) {
                setup.Setting(name, text);
            }
        }
        Start();
        const RECT outer = main_.WindowRect();
        const RECT client = main_.ClientRect();
        EXPECT_EQ(outer.left, c.corner.x);
        EXPECT_EQ(outer.top, c.corner.y);
        EXPECT_EQ(client.right - client.left, c.client.cx);
        // The frame is that of the stored client area without a menu bar; the bar then
        // takes its height from the client area.
        RECT expected{0, 0, c.client.cx, c.client.cy};
        AdjustWindowRectEx(&expected, static_cast<DWORD>(GetWindowLongW(main_.Handle(), GWL_STYLE)),
                           FALSE, static_cast<DWORD>(GetWindowLongW(main_.Handle(), GWL_EXSTYLE)));
        EXPECT_EQ(outer.right - outer.left, expected.right - expected.left);
        EXPECT_EQ(outer.bottom - outer.top, expected.bottom - expected.top);

        // Stored again unchanged at the end, so the window keeps its size from run to run.
        CloseProgram();
        EXPECT_EQ(StoredGeometry(),
                  GeometryValues(c.corner.x, c.corner.y, c.client.cx, c.client.cy));
    }
}

TEST_F(E2eStartup, StartMinimizedStartsHiddenInTheTrayAndStoresTheGeometry) {
    setup_.Setting("Startminimized", "1").Setting("FensterpositionX", "120");
    App& app = Start();
    EXPECT_FALSE(main_.IsVisible());
    EXPECT_FALSE(app.FindWindow(TitleStartsWith(kMainTitlePrefix)));
    // What was just opened is stored before it is hidden.
    EXPECT_EQ(StoredGeometry(), GeometryOf(main_));
    EXPECT_EQ(Stored("FensterpositionX"), "120");
    EXPECT_EQ(Stored("Fensterbreite"), "500");

    app.Tray(main_, WM_LBUTTONUP);
    EXPECT_TRUE(main_.IsVisible());
    EXPECT_FALSE(main_.IsMinimized());
    EXPECT_EQ(Focus(), main_.Control(kHostField));
    CloseProgram();
}

} // namespace
} // namespace quarnel::test
