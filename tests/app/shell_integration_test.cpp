// The shell in this process, with its real windows and its real event loop: start-up,
// every way of starting PuTTY, the tray, modal states, the keyboard and the quick search.
#include "testkit/program_harness.h"
#include "testkit/quarnel_setup.h"

#include "config/config_window.h"
#include "registry/registry.h"

#include <commctrl.h>
#include <shellapi.h>

#include <future>
#include <sstream>

namespace quarnel::test {
namespace {

using Args = std::vector<std::wstring>;

// A folder as the system may spell it: in lower case, without a trailing backslash.
std::wstring Folder(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\') {
        path.pop_back();
    }
    std::transform(path.begin(), path.end(), path.begin(), towlower);
    return path;
}

class ShellTest : public ProgramTest {
  protected:
    // The arguments of the last start of the stand-in, without the program itself.
    Args LastArguments() const {
        const auto starts = putty_.Read();
        return starts.empty()
                   ? Args{L"<none>"}
                   : Args(starts.back().arguments.begin() + 1, starts.back().arguments.end());
    }
    void AwaitStarts(size_t count) {
        PumpUntil([&] { return putty_.Read().size() >= count; }, "the stand-in PuTTY's start");
    }
};

TEST_F(ShellTest, EachWayOfStartingGivesPuttyItsParametersAndFolder) {
    setup_.WithFakePutty()
        .Session("Web%20Server", "Server", "pw", "") // the password function is off
        .Session("M%FCnchen%22x%22")
        .Session("Vor%20lage")
        .Setting("SSHSessionVorlage", "M%FCnchen%22x%22"); // as earlier versions stored it
    // A template's own port stays only without -ssh, which sets 22 after -load.
    RegistryWrite(SessionsKey + "Web%20Server", "Protocol", "ssh", kRegSz, ".");
    RegistryWrite(SessionsKey + "Vor%20lage", "Protocol", "telnet", kRegSz, ".");
    Start();
    EXPECT_EQ(state_->settings.SSHSessionVorlage, "München\"x\"");
    SetWindowTextW(GetDlgItem(Main(), kHostField), L"host.example");
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    const std::wstring here = Folder(current),
                       puttyFolder =
                           Folder(FakePuttyPath().substr(0, FakePuttyPath().rfind(L'\\')));
    const auto rightClickWith = [&](const char* templateName) {
        return [this, templateName] {
            state_->settings.SSHSessionVorlage = templateName;
            SendMessageW(GetDlgItem(Main(), kSshButton), WM_CONTEXTMENU, 0, -1);
        };
    };
    const struct {
        const char* how;
        std::function<void()> start;
        Args arguments;
        std::wstring folder;
    } cases[] = {
        {"menu item", [&] { Choose(1000); }, {L"-load", L"Web Server"}, here},
        {"escapes undone", [&] { Choose(1001); }, {L"-load", L"M\u00fcnchen\"x\""}, here},
        {"SSH button", [&] { Click(Main(), kSshButton); }, {L"-ssh", L"host.example"}, puttyFolder},
        {"Return", [&] { Choose(kReturnShortcut); }, {L"-ssh", L"host.example"}, puttyFolder},
        {"right click on SSH, a Telnet template",
         rightClickWith("Vor lage"),
         {L"-load", L"Vor lage", L"-ssh", L"host.example"},
         puttyFolder},
        {"an SSH template",
         rightClickWith("Web Server"),
         {L"-load", L"Web Server", L"host.example"},
         puttyFolder},
        {"a template without a protocol",
         rightClickWith("München\"x\""),
         {L"-load", L"M\u00fcnchen\"x\"", L"host.example"},
         puttyFolder},
        {"no such session: PuTTY's defaults",
         rightClickWith("weg"),
         {L"-load", L"weg", L"host.example"},
         puttyFolder},
        {"Telnet",
         [&] { Click(Main(), kTelnetButton); },
         {L"-telnet", L"host.example"},
         puttyFolder},
        {"PuTTY's own settings", [&] { Choose(kPuttySettingsItem); }, {}, here},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].how);
        cases[i].start();
        AwaitStarts(i + 1);
        EXPECT_EQ(LastArguments(), cases[i].arguments);
        EXPECT_EQ(Folder(putty_.Read().back().currentDirectory), cases[i].folder);
    }
}

TEST_F(ShellTest, AfterAStartItEndsOrHidesButAFailedStartOnlySaysSo) {
    const struct {
        const char* quit;
        const char* hide;
        const char* putty; // nullptr: the stand-in; else a missing file or a folder
        int item; // a session, a Telnet connection to the host field's text, or PuTTY alone
        bool running, shown;
        Texts boxes;
    } cases[] = {
        {"0", "0", nullptr, 1000, true, true, {}},
        {"0", "1", nullptr, kTelnetButton, true, false, {}},
        {"1", "1", nullptr, 1000, false, false, {}},
        {"1", "0", nullptr, kPuttySettingsItem, false, false, {}},
        {"1", "1", "C:\\nirgends\\putty.exe", 1000, true, true, {"Fehler|Das ging schief|OK"}},
        {"1", "0", "C:\\windows", kTelnetButton, true, true, {"Fehler|Das ging schief|OK"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.quit) + c.hide + (c.putty ? c.putty : ""));
        QuarnelSetup setup;
        setup.Session("mail", "", "pw", "m").Setting("NachPuttyStartBeenden", c.quit);
        setup.Setting("NachPuttyStartMinimieren", c.hide);
        setup.Setting("PuttyPfad", c.putty ? c.putty : Narrow(FakePuttyPath()));
        running_ = true;
        Start();
        state_->settings.Passwortfunktionalitaet = 1;
        state_->master.password = "m";
        const HWND main = Main();
        c.item == kTelnetButton ? Click(main, kTelnetButton) : Choose(c.item);
        if (c.putty) { // no pipe is left waiting with the password for a PuTTY
            auto drained = std::async(std::launch::async, [&] { state_->courier.Drain(); });
            EXPECT_EQ(drained.wait_for(std::chrono::seconds(5)), std::future_status::ready);
        }
        EXPECT_EQ(running_, c.running);
        EXPECT_EQ(IsWindow(main) != FALSE, c.running); // ending takes every window along
        EXPECT_EQ(IsWindowVisible(main) != FALSE, c.running && c.shown);
        EXPECT_EQ(Boxes::Take(), c.boxes);
        shell_.reset();
    }
}

// A restart whose new copy cannot start says so, and this copy goes on as the only one;
// one that starts it has made way for it first.
TEST_F(ShellTest, ARestartThatCannotStartSaysSoAndOneThatCanMakesWayForTheNewCopy) {
    setup_.LaterRun();
    Start();
    state_->programFile = L"C:\\windows"; // a folder, which the shell would open
    Choose(kConfigureItem);
    Click(FindProgramWindow("Quarnel Konfiguration"), kRestartButton);
    EXPECT_EQ(Boxes::Take(), Texts{"Fehler|Quarnel konnte nicht neu gestartet werden|OK"});
    EXPECT_TRUE(running_ && IsWindowVisible(Main()));
    RunState second(GetModuleHandleW(nullptr));
    EXPECT_FALSE(EnsureSingleInstance(second)); // a copy started now ends at once
    state_->programFile = FakePuttyPath();      // stands in for the new copy
    Click(FindProgramWindow("Quarnel Konfiguration"), kRestartButton);
    AwaitStarts(1);
    EXPECT_FALSE(running_);
    EXPECT_TRUE(EnsureSingleInstance(second));
}

// PuTTY sends a password typed into its window as UTF-8: the stored one goes as those
// bytes through the pipe, or as the characters that make an old PuTTY's command line them.
TEST_F(ShellTest, AStoredPasswordReachesPuttyAsTheBytesOfATypedOne) {
    const struct {
        bool old;
        const char* password;
        const char* quit; // NachPuttyStartBeenden, with PuTTY opening its file late
        std::optional<std::string> pipe;
        Args arguments; // after the program's name
    } cases[] = {
        {false, "pass wort", "0", "pass wort\n", {L"-pwfile", L"<pipe>", L"-load", L"Web Server"}},
        {false,
         "Grüße",
         "1",
         "Gr\xC3\xBC\xC3\x9F"
         "e\n",
         {L"-pwfile", L"<pipe>", L"-load", L"Web Server"}},
        {true, "pass wort", "0", std::nullopt, {L"-pw", L"pass wort", L"-load", L"Web Server"}},
        {true,
         "Grüße",
         "0",
         std::nullopt,
         {L"-pw", L"Gr\u00c3\u00bc\u00c3\u0178e", L"-load", L"Web Server"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.password) + (c.old ? " 0.76" : " 0.77"));
        QuarnelSetup setup;
        setup.Setting("PuttyPfad", Narrow(c.old ? FakeOldPuttyPath() : FakePuttyPath()))
            .Setting("NachPuttyStartBeenden", c.quit)
            .Session("Web%20Server", "", c.password, "Meister");
        SetEnvironmentVariableW(L"QUARNEL_FAKE_PUTTY_PWFILE_DELAY_MS", L"1500");
        const size_t before = putty_.Read().size();
        Start();
        state_->settings.Passwortfunktionalitaet = 1;
        state_->master.password = "Meister";
        Choose(1000);
        shell_.reset(); // the windows go; what is handed over is not held up by them
        EXPECT_TRUE(putty_.WaitFor(before + 1).size() > before);
        const FakePuttyStart start = putty_.Read().back();
        Args arguments(start.arguments.begin() + 1, start.arguments.end());
        if (c.pipe) {
            EXPECT_TRUE(arguments.at(1).starts_with(L"\\\\.\\pipe\\quarnel-")) << arguments.at(1);
            arguments.at(1) = L"<pipe>";
        }
        EXPECT_EQ(arguments, c.arguments);
        EXPECT_EQ(start.passwordFile, c.pipe);
    }
    SetEnvironmentVariableW(L"QUARNEL_FAKE_PUTTY_PWFILE_DELAY_MS", nullptr);
}

// A first run welcomes, opens the configuration and leaves Return alone, also on a focused
// button; in a later one Return connects (here to the start folder's PuTTY, which is not
// there), and it starts hidden in the tray when asked to.
TEST_F(ShellTest, AFirstRunWelcomesAndALaterRunTakesReturnAndMayStartHidden) {
    const struct {
        bool first;
        const char* hidden;
        Texts boxes;
        bool keyRefused = false;     // the program key cannot be made
        const char* check = nullptr; // a stored check of the master password, the function on
    } cases[] = {
        {true,
         nullptr,
         {"Ulvas Quarnel|Das Tool wurde zum Ersten Mal aufgerufen. Daher wurde ein "
          "Registry-Key erstellt. \rUm ihn wieder loszuwerden, einfach den "
          "Deinstallieren-Button verwenden.\r\rBitte konfigurieren Sie nun "
          "zunächst die Einstellungen im folgenden Menü.|OK"}},
        {true,
         nullptr,
         {"Ulvas Quarnel|Das Tool wurde zum Ersten Mal aufgerufen. Der Registry-Key für seine "
          "Einstellungen konnte aber nicht erstellt werden: Einstellungen werden in diesem Lauf "
          "nicht gespeichert.\r\rBitte konfigurieren Sie nun zunächst die Einstellungen im "
          "folgenden Menü.|OK"},
         true},
        {false, "0", {"Fehler|Das ging schief|OK"}},
        {false, "1", {}},
        // A damaged check: no prompt, as nothing typed could be checked.
        {false,
         "1",
         {"Fehler:|Der gespeicherte Prüfwert des Masterpassworts (\"MasterpasswortPruefwert\") ist "
          "beschädigt. Gespeicherte Passwörter werden deshalb weder an PuTTY übergeben noch "
          "angezeigt oder geändert.\r\rAbhilfe: in der Konfiguration \"ALLE gesp. Passwörter "
          "löschen\" wählen und die Passwörter neu speichern.|OK"},
         false,
         "0:"},
        {false, "1", {"prompt|Masterpasswort eingeben:"}, false, ""}, // no check: "m" counts
    };
    wchar_t here[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, here);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first ? "first run" : c.check ? c.check : c.hidden);
        QuarnelSetup setup;
        if (c.hidden) {
            setup.Setting("Startminimized", c.hidden);
        }
        if (c.check) {
            setup.Setting("Passwortfunktionalitaet", "1").Setting(MasterCheckValueName, c.check);
            Boxes::AnswerPrompts({"m"});
        }
        if (c.keyRefused) { // a volatile key takes no lasting subkey
            DeleteTree("HKEY_CURRENT_USER\\Software\\SimonTatham\\PuTTY");
            HKEY key = nullptr;
            RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\SimonTatham\\PuTTY", 0, nullptr,
                            REG_OPTION_VOLATILE, KEY_READ, nullptr, &key, nullptr);
            RegCloseKey(key);
        }
        Start();
        EXPECT_EQ(state_->master.withheld, c.check && *c.check);   // nothing deciphers then
        EXPECT_EQ(state_->master.confirmed, c.check && !*c.check); // typed, so not asked again
        EXPECT_EQ(RegistryKeyExists(ProgramKey, ".") != 0, !c.keyRefused);
        EXPECT_EQ(Widen(state_->settings.PuttyPfad), here + std::wstring(L"\\putty.exe"));
        EXPECT_EQ(FindProgramWindow("Quarnel Konfiguration") != nullptr, c.first);
        EXPECT_EQ(IsWindowVisible(Main()) != FALSE, !c.hidden || c.hidden[0] == '0');
        if (IsWindowVisible(Main())) {
            SetForegroundWindow(Main());
            SetFocus(GetDlgItem(Main(), kSshButton));
            Key(VK_RETURN);
        }
        EXPECT_EQ(Boxes::Take(), c.boxes);
        shell_.reset();
        if (c.keyRefused) { // later sessions must last
            DeleteTree("HKEY_CURRENT_USER\\Software\\SimonTatham\\PuTTY");
        }
    }
}

TEST_F(ShellTest, TheTraySelectsShowsAndHidesAndItsContextMenuIsThePopupAtTheAnchor) {
    setup_.WithFakePutty().Setting("NachPuttyStartMinimieren", "1");
    setup_.Session("a", "Eins").Session("b");
    Start();
    const HWND main = Main();
    const UINT down = WM_LBUTTONDOWN, up = WM_LBUTTONUP, select = NIN_SELECT;
    const struct {
        std::vector<UINT> events;
        bool shown;
    } cases[] = {
        {{down, up, select}, false},
        {{down, up, select}, true},
        {{NIN_KEYSELECT}, false},
        {{NIN_KEYSELECT}, true},
        // A double click: the shell reports a second select after it.
        {{down, up, select, WM_LBUTTONDBLCLK, up, select}, false},
        {{down, up, select, WM_LBUTTONDBLCLK, up, select}, true},
        {{WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONUP}, true},
    };
    for (const auto& c : cases) {
        for (const UINT event : c.events) {
            Tray(event);
        }
        EXPECT_EQ(IsWindowVisible(main) != FALSE, c.shown) << c.events.size() << " events";
    }
    // Minimised, it goes to the tray at once; it comes back with an empty, focused field.
    // Neither that nor hiding after a start stores the icon's place for the next start.
    const std::string x = RegistryRead(ProgramKey, "FensterpositionX", ".");
    SetWindowTextW(GetDlgItem(main, kHostField), L"alt");
    SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(main));
    Choose(kFirstSessionItem);
    EXPECT_EQ(RegistryRead(ProgramKey, "FensterpositionX", "."), x);
    Tray(NIN_SELECT);
    EXPECT_TRUE(IsWindowVisible(main) && !IsIconic(main));
    EXPECT_EQ(GetWindowTextLengthW(GetDlgItem(main, kHostField)), 0);
    EXPECT_EQ(GetFocus(), GetDlgItem(main, kHostField));
    // The context menu opens the popup at the anchor, aligned as the system says.
    PopupWatch popup;
    for (const BOOL right : {FALSE, TRUE}) {
        SystemParametersInfoW(SPI_SETMENUDROPALIGNMENT, right, nullptr, 0);
        Tray(WM_CONTEXTMENU, {400, 300});
        EXPECT_EQ(right ? popup.place.right : popup.place.left, 400);
        EXPECT_EQ(popup.place.top, 300);
    }
    SystemParametersInfoW(SPI_SETMENUDROPALIGNMENT, FALSE, nullptr, 0);
    EXPECT_EQ(popup.shown, 2);
    EXPECT_EQ(popup.content, MenuText(GetMenu(main)));
    // A restarted shell knows no icon: told so, the program adds it again.
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = main;
    icon.uID = kTrayIconId;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
    ASSERT_FALSE(Shell_NotifyIconW(NIM_DELETE, &icon));
    SendMessageW(main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &icon)); // changes nothing: it is there
    SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0); // ended from the tray, it stores its place
    Choose(kQuitItem);
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &icon)); // the icon went with the program
    EXPECT_EQ(RegistryRead(ProgramKey, "FensterpositionX", "."), x);
}

TEST_F(ShellTest, WhileABoxOrTheFileRequesterIsOpenTheTrayAndTheHotkeyWait) {
    setup_.LaterRun();
    Start();
    const HWND main = Main();
    Choose(kConfigureItem);
    const HWND config = FindProgramWindow("Quarnel Konfiguration");
    ASSERT_NE(config, nullptr);
    SetForegroundWindow(main);
    Choose(kConfigureItem); // chosen again: the open one comes to the front
    EXPECT_EQ(GetForegroundWindow(), config);
    PopupWatch popup;
    for (const int opener :
         {static_cast<int>(kDeleteAllMenusButton), static_cast<int>(kBrowseButton)}) {
        SCOPED_TRACE(opener);
        bool probed = false, searched = false;
        Boxes::WhileOpen([&] {
            probed = true;
            for (const UINT event : {NIN_SELECT, WM_CONTEXTMENU}) {
                SendMessageW(main, kTrayCallbackMessage, 0, MAKELPARAM(event, kTrayIconId));
            }
            SendMessageW(main, WM_HOTKEY, 1, 0);
            searched = FindProgramWindow("Quarnel Schnellsuche", false) != nullptr;
        });
        Click(config, opener);
        EXPECT_TRUE(probed);
        EXPECT_TRUE(IsWindowVisible(main));
        EXPECT_EQ(popup.shown, 0);
        EXPECT_FALSE(searched);
        Boxes::Take();
        EXPECT_TRUE(IsWindowEnabled(main)); // and they take the user again afterwards
    }
    // Nor while a menu of the main window is open.
    SendMessageW(main, WM_ENTERMENULOOP, FALSE, 0);
    SendMessageW(main, WM_HOTKEY, 1, 0);
    SendMessageW(main, WM_EXITMENULOOP, FALSE, 0);
    EXPECT_EQ(FindProgramWindow("Quarnel Schnellsuche", false), nullptr);
}

// The control that has the focus, a combo box's field counting as the combo box.
int FocusedGadget() {
    HWND focus = GetFocus();
    wchar_t name[16] = {};
    GetClassNameW(GetParent(focus), name, 16);
    if (std::wstring(name) == L"ComboBox") {
        focus = GetParent(focus);
    }
    return focus ? GetDlgCtrlID(focus) : -1;
}

// A key held down, or let go, as the keyboard's state tells the handlers.
void Held(BYTE key, bool down) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[key] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

TEST_F(ShellTest, EveryWindowTakesTheKeyboardAsADialogDoes) {
    setup_.WithFakePutty().Session("mail", "Server");
    Start();
    state_->settings.Passwortfunktionalitaet = 1; // its fields take the focus then
    EXPECT_EQ(FocusedGadget(), kHostField);
    // Shift+F10 on SSH is its right click: the connection with the template.
    SetFocus(GetDlgItem(Main(), kSshButton));
    PostMessageW(GetFocus(), WM_SYSKEYDOWN, VK_F10, 1); // without Shift it is no right click
    Pump();
    Held(VK_SHIFT, true);
    PostMessageW(GetFocus(), WM_SYSKEYDOWN, VK_F10, 1);
    PostMessageW(GetFocus(), WM_SYSKEYUP, VK_F10, 0xC0000001);
    Pump();
    Held(VK_SHIFT, false);
    AwaitStarts(1);
    EXPECT_EQ(LastArguments().at(0), L"-load");
    // Esc leaves the main window as it is.
    Key(VK_ESCAPE);
    EXPECT_TRUE(IsWindowVisible(Main()));

    const struct {
        int item; // 0: Ctrl+F in the main window
        const char* title;
        int focusedFirst;
    } windows[] = {{kConfigureItem, "Quarnel Konfiguration", kPasswordFunctionCheck},
                   {kAboutItem, "Quarnel - Information", 31},
                   {0, "Quarnel Schnellsuche", 42}};
    for (const auto& w : windows) {
        SCOPED_TRACE(w.title);
        if (w.item != 0) {
            Choose(w.item);
        } else {
            Held(VK_CONTROL, true);
            Key('F');
            Held(VK_CONTROL, false);
        }
        const HWND window = FindProgramWindow(w.title);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(FocusedGadget(), w.focusedFirst);
        RECT client{};
        GetClientRect(window, &client);
        for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
            RECT r{};
            GetWindowRect(c, &r);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_TRUE(r.right <= client.right && r.bottom <= client.bottom) << GetDlgCtrlID(c);
        }
        // Next in Z order a window not of the program, which the system would give the front.
        const UniqueWindow next(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 80, 40,
                                                nullptr, nullptr, nullptr, nullptr));
        SetWindowPos(next.get(), window, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        Key(VK_ESCAPE);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(FocusedGadget(), kSshButton); // the main window's focus is back where it was
    }

    // Tab walks the configuration window as the eye reads it, group by group.
    Choose(kConfigureItem);
    std::vector<int> walk;
    for (int i = 0; i < 20; ++i) {
        walk.push_back(FocusedGadget());
        Key(VK_TAB);
    }
    EXPECT_EQ(walk, (std::vector<int>{10, 1, 14, 39, 23, 38, 40, 15, 37, 0,
                                      8,  4, 6,  17, 7,  19, 20, 27, 18, 10}));
    // Return presses the focused button, whichever it is.
    for (int i = 0; i < 20 && FocusedGadget() != kUninstallButton; ++i) {
        Key(VK_TAB);
    }
    ASSERT_EQ(FocusedGadget(), kUninstallButton);
    Key(VK_RETURN);
    EXPECT_EQ(Boxes::Take().size(), 1u); // the uninstall's question, answered No
    Choose(kAboutItem);
    Key(VK_RETURN);
    EXPECT_EQ(FindProgramWindow("Quarnel - Information"), nullptr);
    EXPECT_EQ(putty_.Read().size(), 1u); // only Shift+F10 started one
}

// The rightmost and lowest control lies whole in the client area, below the menu bar.
bool ControlsBelowTheBar(HWND main) {
    RECT client{}, telnet{};
    GetClientRect(main, &client);
    GetWindowRect(GetDlgItem(main, kTelnetButton), &telnet);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&telnet), 2);
    return telnet.top > 0 && telnet.right <= client.right && telnet.bottom <= client.bottom;
}

// Whatever is stored and however many rows the menu bar wraps to, the host field and both
// buttons stand below every row, the window inside the work area; a size that fits
// comes back as stored. Run at 96 and at 144 dpi.
TEST_F(ShellTest, GeometryKeepsTheControlsBelowTheMenuBarAndTheWindowOnScreen) {
    const char* names[] = {"FensterpositionX", "FensterpositionY", "Fensterbreite", "Fensterhoehe"};
    const struct {
        int menus;
        const char* stored; // x, y, width and height as stored; "": nothing stored
        int left;           // where the window stands; -1: anywhere on screen
        bool keptAsStored;  // the same four values are stored at the end
    } cases[] = {
        {1, "40 30 600 200", 40, true},         {20, "", 10, false},
        {20, "10 10 2147483647 1", -1, false},  {1, "-50 -20 100 1", 0, false}, // partly off
        {1, "1000 900 600 200", -1, false},     // partly off at the other corner
        {1, "-30000 -30000 500 60", 10, false}, // a monitor that has gone
        {200, "10 10 1 60", -1, false},         // too many rows at its width: as wide as the screen
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.menus) + " menus, " + c.stored);
        QuarnelSetup setup;
        setup.LaterRun();
        for (int m = 0; m < c.menus; ++m) {
            setup.Session("s" + std::to_string(m), "Menue Nummer " + std::to_string(m));
        }
        std::istringstream stored(c.stored);
        for (std::string value; const char* name : names) {
            if (stored >> value) {
                setup.Setting(name, value);
            }
        }
        Start();
        const HWND main = Main();
        EXPECT_TRUE(ControlsBelowTheBar(main));
        RECT outer{};
        GetWindowRect(main, &outer);
        MONITORINFO monitor{sizeof monitor, {}, {}, 0};
        GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor);
        RECT inside{};
        EXPECT_TRUE(IntersectRect(&inside, &outer, &monitor.rcWork) && EqualRect(&inside, &outer))
            << outer.left << "," << outer.top << " " << outer.right << "," << outer.bottom;
        EXPECT_TRUE(c.left < 0 || outer.left == c.left) << outer.left;
        Choose(kQuitItem);
        std::string after;
        for (const char* name : names) {
            after += (after.empty() ? "" : " ") + RegistryRead(ProgramKey, name, ".");
        }
        EXPECT_TRUE(!c.keptAsStored || after == c.stored) << after;
    }
}

Texts Rows(HWND search) {
    return Entries(GetDlgItem(search, kQuickSearchList));
}

TEST_F(ShellTest, TheQuickSearchNarrowsStartsAndComesBackEmptyOnEveryPress) {
    setup_.WithFakePutty()
        .Session("web%20server", "Kunden")
        .Session("mail")
        .Session("M%FCnchen%20web", "Filialen");
    for (int i = 10; i < 72; ++i) { // more than the window shows at once, and one more
        setup_.Session("x" + std::to_string(i));
    }
    Start();
    const auto press = [&] {
        SendMessageW(Main(), WM_HOTKEY, 1, 0);
        Pump();
        return FindProgramWindow("Quarnel Schnellsuche");
    };
    HWND search = press();
    ASSERT_NE(search, nullptr);
    Texts rows = Rows(search);
    EXPECT_EQ(rows.size(), 65u); // the rest follows the first rows, message by message
    rows.resize(3);
    EXPECT_EQ(rows, (Texts{"München web (Filialen)", "mail", "web server (Kunden)"}));
    // It stands in the middle of the work area.
    RECT place{};
    GetWindowRect(search, &place);
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(search, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_LE(std::abs(place.left + place.right - monitor.rcWork.left - monitor.rcWork.right), 1);
    EXPECT_LE(std::abs(place.top + place.bottom - monitor.rcWork.top - monitor.rcWork.bottom), 1);
    // The arrow and page keys move the pick while the typing goes on in the field, where
    // Ctrl+Home stays.
    SetWindowTextW(GetDlgItem(search, kQuickSearchField), L"WEB");
    Pump();
    EXPECT_EQ(Rows(search), (Texts{"web server (Kunden)", "München web (Filialen)"}));
    const auto picked = [&] {
        return SendDlgItemMessageW(search, kQuickSearchList, LB_GETCURSEL, 0, 0);
    };
    for (const auto& [key, row] : {std::pair{VK_NEXT, 1},
                                   {VK_HOME, 0},
                                   {VK_END, 1},
                                   {VK_PRIOR, 0},
                                   {VK_DOWN, 1},
                                   {VK_CONTROL, 1},
                                   {VK_UP, 0}}) {
        if (key == VK_CONTROL) {
            Held(VK_CONTROL, true);
            Key(VK_HOME);
            Held(VK_CONTROL, false);
        } else {
            Key(key);
        }
        EXPECT_EQ(picked(), row) << key;
    }
    Key(VK_RETURN);
    AwaitStarts(1);
    EXPECT_EQ(LastArguments(), (Args{L"-load", L"web server"}));
    EXPECT_EQ(RegistryRead(ProgramKey, "ZuletztGestartet", "."), "web%20server");
    // The session started last comes first; a double click starts its row; a text nothing
    // matches is a host.
    search = press();
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(Rows(search).front(), "web server (Kunden)");
    SetWindowTextW(GetDlgItem(search, kQuickSearchField), L"web");
    Pump();
    RECT second{};
    SendDlgItemMessageW(search, kQuickSearchList, LB_GETITEMRECT, 1, LPARAM(&second));
    for (const UINT click : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}) {
        SendDlgItemMessageW(search, kQuickSearchList, click, 0,
                            MAKELPARAM(second.left + 5, second.top + 2));
    }
    AwaitStarts(2);
    EXPECT_EQ(LastArguments(), (Args{L"-load", L"M\u00fcnchen web"}));
    search = press();
    SetWindowTextW(GetDlgItem(search, kQuickSearchField), L"host.example");
    Pump();
    Key(VK_RETURN);
    AwaitStarts(3);
    EXPECT_EQ(LastArguments(), (Args{L"-ssh", L"host.example"}));
    // Another window taking the foreground closes it, but a press meanwhile keeps it:
    // open, in front, focused and empty.
    search = press();
    SetWindowTextW(GetDlgItem(search, kQuickSearchField), L"x");
    SetForegroundWindow(Main());
    EXPECT_EQ(press(), search);
    Pump();
    EXPECT_TRUE(IsWindowVisible(search));
    EXPECT_EQ(GetForegroundWindow(), search);
    EXPECT_EQ(GetFocus(), GetDlgItem(search, kQuickSearchField));
    EXPECT_EQ(GetWindowTextLengthW(GetDlgItem(search, kQuickSearchField)), 0);
    EXPECT_EQ(Rows(search).size(), 65u); // the rows of the empty text
    const UniqueWindow other(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED | WS_VISIBLE, 0, 0,
                                             80, 40, nullptr, nullptr, nullptr, nullptr));
    SetForegroundWindow(other.get());
    Pump();
    EXPECT_FALSE(IsWindow(search));
    EXPECT_EQ(GetForegroundWindow(), other.get()); // it stays where the user went
}

// The quick search's hotkey: as stored, none when stored empty, Ctrl+Alt+P when not stored.
TEST_F(ShellTest, TheHotkeyIsTheStoredOneNoneOrTheDefault) {
    const struct {
        const char* stored;
        UINT modifiers, key;
        bool taken;
    } cases[] = {
        {nullptr, MOD_CONTROL | MOD_ALT, 'P', true},
        {"", MOD_CONTROL | MOD_ALT, 'P', false},
        {"Umschalt+F5", MOD_SHIFT, VK_F5, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "not stored");
        QuarnelSetup setup;
        setup.LaterRun();
        if (c.stored) {
            setup.Setting("SchnellsucheHotkey", c.stored);
        }
        Start();
        const bool free = RegisterHotKey(nullptr, 7, c.modifiers, c.key);
        UnregisterHotKey(nullptr, 7);
        EXPECT_EQ(!free, c.taken);
        shell_.reset();
    }
}

// PuTTY saving a session, or the Sessions key going, shows in the menus, the quick search
// and the configuration window while the program runs; an open menu is not rebuilt under
// the user, and the user's pick and typing stay.
TEST_F(ShellTest, EveryListFollowsPuttysSessionsWhileTheProgramRuns) {
    setup_.LaterRun().Session("alpha", "Eins").Session("beta").Setting("ZuletztGestartet", "beta");
    Start();
    const HWND main = Main();
    Choose(kConfigureItem);
    const HWND config = FindProgramWindow("Quarnel Konfiguration");
    const HWND sessions = GetDlgItem(config, kSessionCombo);
    SendMessageW(sessions, CB_SETCURSEL, 3, 0); // beta
    SetWindowTextW(GetDlgItem(config, kMenuCombo), L"getippt");
    SendMessageW(main, WM_HOTKEY, 1, 0);
    Pump();
    const HWND search = FindProgramWindow("Quarnel Schnellsuche");
    const HMENU before = GetMenu(main);
    RECT was{}, now{};
    GetWindowRect(main, &was);
    SendMessageW(main, WM_ENTERMENULOOP, FALSE, 0); // as when the user opens a menu
    setup_.Session("anton", "Zwei");                // between the two: a row in the middle
    PumpUntil([&] { return Rows(search).size() == 3; }, "the quick search to follow");
    EXPECT_EQ(Rows(search), (Texts{"beta", "alpha (Eins)", "anton (Zwei)"}));
    EXPECT_EQ(GetMenu(main), before);
    SendMessageW(main, WM_EXITMENULOOP, FALSE, 0);
    PumpUntil([&] { return GetMenu(main) != before; }, "the menus to follow");
    GetWindowRect(main, &now);
    EXPECT_TRUE(EqualRect(&was, &now)); // as large as before, also at 144 dpi
    EXPECT_EQ(MenuText(GetMenu(main)),
              "DATEI     \n  Putty Einstellungen [901]\n  Quarnel konfigurieren [910]\n  ---\n"
              "  Über dieses Tool [980]\n  ---\n  Beenden [990]\nEins\n  alpha [1000]\nZwei\n"
              "  anton [1001]\nWEITERE...\n  beta [1002]\n");
    const HWND templates = GetDlgItem(config, kSshTemplateCombo);
    EXPECT_EQ(Entries(sessions).at(3), "anton");
    EXPECT_EQ(Entries(templates), (Texts{"Default Settings", "alpha", "anton", "beta"}));
    EXPECT_EQ(Entries(sessions).at(SendMessageW(sessions, CB_GETCURSEL, 0, 0)), "beta");
    EXPECT_EQ(Entries(GetDlgItem(config, kMenuCombo)).at(3), "Zwei");
    wchar_t typed[32] = {};
    GetWindowTextW(GetDlgItem(config, kMenuCombo), typed, 32);
    EXPECT_STREQ(typed, L"getippt");
    // So many menus that the bar wraps: the window grows to hold the controls below it.
    for (int m = 0; m < 30; ++m) {
        setup_.Session("z" + std::to_string(m), "Menue Nummer " + std::to_string(m));
    }
    PumpUntil([&] { return GetMenuItemCount(GetMenu(main)) > 30; }, "the new menus");
    EXPECT_TRUE(ControlsBelowTheBar(main));
    RemovePuttySessions();
    PumpUntil([&] { return Rows(search).empty(); }, "the sessions to go");
    PumpUntil([&] { return MenuText(GetMenu(main)).ends_with("WEITERE...\n"); }, "the menus");
    EXPECT_EQ(Entries(sessions), (Texts{"Bitte Session wählen:", "---------------------"}));
    EXPECT_EQ(Entries(templates), Texts{"Default Settings"});
}

// PuTTY escapes a session name's bytes in the system's code page: "Łódź" under 1250.
TEST_F(ShellTest, CodePageOfTheSystemNamesTheSessions) {
    ASSERT_EQ(GetACP(), 1250u);
    setup_.WithFakePutty().Session("%A3%F3d%9F", "Polska");
    Start();
    wchar_t item[64] = {};
    GetMenuStringW(GetMenu(Main()), kFirstSessionItem, item, 64, MF_BYCOMMAND);
    EXPECT_STREQ(item, L"\u0141\u00f3d\u017a");
    Choose(kFirstSessionItem);
    AwaitStarts(1);
    EXPECT_EQ(LastArguments(), (Args{L"-load", L"\u0141\u00f3d\u017a"}));
}

} // namespace
} // namespace quarnel::test
