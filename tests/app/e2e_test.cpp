// What only the real quarnel.exe, a process of its own, shows: the first run, a second
// copy, the end of the process, the prompt and the pipe to a separate PuTTY, the restart
// and the uninstall across processes, the global hotkey, a start at another resolution.
#include "config/settings.h"
#include "registry/registry.h"
#include "testkit/e2e_driver.h"
#include "testkit/fake_putty_log.h"
#include "testkit/quarnel_setup.h"
#include "vault/master_check.h"
#include "win/text.h"

#include <gtest/gtest.h>

namespace quarnel::test {
namespace {

constexpr char kMain[] = "Quarnel V. 0.53";

TEST(E2e, AFirstRunWelcomesASecondCopyEndsAtOnceAndClosingStoresThePlace) {
    QuarnelSetup setup;
    Program program;
    const HWND box = program.WaitForWindow("Ulvas Quarnel", L"#32770");
    EXPECT_TRUE(TextOf(GetDlgItem(box, 0xFFFF))
                    .starts_with("Das Tool wurde zum Ersten Mal aufgerufen. Daher"));
    Program second;
    EXPECT_EQ(second.WaitForExit(), 0u);
    Answer(box, IDOK);
    program.WaitForWindow("Quarnel Konfiguration");
    const HWND main = program.WaitForWindow(kMain);
    SetWindowPos(main, nullptr, 40, 30, 600, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(main, &client);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(RegistryRead(ProgramKey, "FensterpositionX", ".") + " " +
                  RegistryRead(ProgramKey, "FensterpositionY", ".") + " " +
                  RegistryRead(ProgramKey, "Fensterbreite", "."),
              "40 30 " + std::to_string(client.right));
}

// The master password typed into the prompt deciphers what the stand-in PuTTY reads
// through its pipe; closing the prompt withholds every stored password when a check of
// the master password is stored, and leaves the empty master password when none is. Ending right
// after the start, or a box open meanwhile, hands it over all the same to a PuTTY that opens its
// pipe late.
TEST(E2e, ThePromptsPasswordReachesASlowPuttyWhateverTheProgramDoesNext) {
    const struct {
        const char* typed; // nullptr: the prompt is closed
        const char* quit;  // NachPuttyStartBeenden
        bool boxOpen;      // a message box is up while PuTTY opens its pipe
        std::optional<std::string> handed;
        bool checked = true; // a check of the master password is stored
    } cases[] = {
        {"Meister", "1", false, "geheim\n"},
        {"Meister", "0", true, "geheim\n"},
        {nullptr, "0", false, std::nullopt},
        // Without a check, closing leaves the empty master password, which this one is under.
        {nullptr, "0", false, "geheim\n", false},
    };
    FakePuttyLog log;
    SetEnvironmentVariableW(L"QUARNEL_FAKE_PUTTY_PWFILE_DELAY_MS", L"1500");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed ? c.typed : "closed") + c.quit);
        QuarnelSetup setup;
        setup.WithFakePutty()
            .Setting("Passwortfunktionalitaet", "1")
            .Setting("NachPuttyStartBeenden", c.quit)
            .Session("Tresor", "", "geheim", c.checked ? "Meister" : "");
        if (c.checked) {
            setup.MasterCheckOf("Meister");
        }
        const size_t before = log.Read().size();
        Program program;
        const HWND prompt = program.WaitForWindow("Quarnel Passwortabfrage");
        if (c.typed) {
            SendMessageW(GetDlgItem(prompt, 34), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(Widen(c.typed).c_str()));
            PostClick(prompt, 35);
        } else {
            PostMessageW(prompt, WM_CLOSE, 0, 0);
        }
        const HWND main = program.WaitForWindow(kMain);
        PostCommand(main, 1000);
        if (c.boxOpen) {
            PostCommand(main, 910);
            PostClick(program.WaitForWindow("Quarnel Konfiguration"), 19);
        }
        const HWND box = c.boxOpen ? program.WaitForWindow("Menues", L"#32770") : nullptr;
        if (c.quit[0] == '1') { // the windows go at once, the process when PuTTY has it
            Await([&] { return !IsWindow(main); }, "the main window to go");
            EXPECT_TRUE(program.Running());
        }
        const auto starts = log.WaitFor(before + 1);
        ASSERT_GT(starts.size(), before);
        EXPECT_EQ(starts.back().passwordFile, c.handed);
        if (box) {
            EXPECT_TRUE(IsWindowVisible(box)); // served while the box waits
            Answer(box, IDNO);
            PostMessageW(main, WM_CLOSE, 0, 0);
        } else if (c.quit[0] == '0') {
            PostMessageW(main, WM_CLOSE, 0, 0);
        }
        EXPECT_EQ(program.WaitForExit(), 0u);
    }
    SetEnvironmentVariableW(L"QUARNEL_FAKE_PUTTY_PWFILE_DELAY_MS", nullptr);
}

TEST(E2e, TheRestartStartsANewCopyAndAfterTheUninstallTheNextStartIsAFirstRun) {
    QuarnelSetup setup;
    setup.LaterRun();
    Program old;
    PostCommand(old.WaitForWindow(kMain), 910);
    PostClick(old.WaitForWindow("Quarnel Konfiguration"), 18);
    EXPECT_EQ(old.WaitForExit(), 0u);
    HWND main = nullptr;
    Await([&] { return IsWindowVisible(main = FindWindowW(L"QuarnelMainWindow", nullptr)); },
          "the new copy's main window");
    DWORD id = 0;
    GetWindowThreadProcessId(main, &id);
    Program restarted(id);
    PostCommand(main, 910);
    PostClick(restarted.WaitForWindow("Quarnel Konfiguration"), 27);
    Answer(restarted.WaitForWindow("Quarnel deinstallieren", L"#32770"), IDYES);
    Await([] { return !RegistryKeyExists(ProgramKey, "."); }, "the program key to go");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(restarted.WaitForExit(), 0u);
    EXPECT_FALSE(RegistryKeyExists(ProgramKey, ".")); // ending stores nothing now
    Program next;
    Answer(next.WaitForWindow("Ulvas Quarnel", L"#32770"), IDOK);
}

TEST(E2e, TheHotkeyOpensTheQuickSearchFromAnywhere) {
    QuarnelSetup setup;
    setup.LaterRun().Session("alpha");
    Program program;
    const HWND main = program.WaitForWindow(kMain);
    PressKeys({VK_CONTROL, VK_MENU, 'P'});
    const HWND search = program.WaitForWindow("Quarnel Schnellsuche");
    // Shown first, then brought to the front.
    Await([&] { return GetForegroundWindow() == search; }, "the quick search in front");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

// Wine takes the screen's resolution from this value whenever a program starts.
TEST(E2e, AtAnotherResolutionTheWindowScalesAsAWhole) {
    const std::string desktop = "HKEY_CURRENT_USER\\Control Panel\\Desktop";
    RegistryWrite(desktop, "LogPixels", "144", kRegDword, ".");
    QuarnelSetup setup;
    setup.LaterRun();
    Program program;
    const HWND main = program.WaitForWindow(kMain);
    RegistryDeleteValue(desktop, "LogPixels", ".");
    RECT telnet{};
    GetWindowRect(GetDlgItem(main, 26), &telnet);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&telnet), 2);
    EXPECT_EQ(std::vector<LONG>({telnet.left, telnet.top, telnet.right, telnet.bottom}),
              (std::vector<LONG>{308, 15, 390, 45}));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    // The size is kept at 96 dpi.
    EXPECT_EQ(RegistryRead(ProgramKey, "Fensterbreite", "."), "500");
}

} // namespace
} // namespace quarnel::test
