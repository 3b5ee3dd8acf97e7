// The configuration window, opened from the running shell in this process and worked as a
// user works it; checked in the window, in the settings and in the registry.
#include "testkit/program_harness.h"
#include "testkit/quarnel_setup.h"

#include "config/config_actions.h"
#include "config/config_window.h"
#include "registry/registry.h"
#include "vault/cipher.h"
#include "vault/master_check.h"
#include "win/files.h"

namespace quarnel::test {
namespace {

const std::string kSep = "---------------------";
const std::string kAskPasswords =
    "Passwörter Löschen|Sollen wirklich alle gespeicherten Passwörter gelöscht werden?|YesNo";
const std::string kAskMenus =
    "Menues Löschen|Sollen wirklich alle Menüzuordnungen gelöscht werden?|YesNo";
const std::string kAskUninstall =
    "Quarnel deinstallieren|Es werden alle von Quarnel angelegten Registryeinträge "
    "(Einstellungen/Menüs/Passwörter) entfernt.\r(Die quarnel.exe bleibt erhalten und muß ggf. "
    "manuell gelöscht werden).\rWirklich fortfahren?|YesNo";
const std::string kUnkeptMaster = "Fehler:|Das Feld \"Masterpasswort\" enthält Zeichen, die "
                                  "Quarnel nicht speichern kann. Es wurde nichts gespeichert.|OK";
const std::string kWrongMaster =
    "Fehler:|Das Masterpasswort stimmt nicht mit dem gespeicherten überein.|OK";
constexpr int kMail = 2, kWeb = 3, kZeta = 4; // entries of the session combo after Seed()

std::string SessionKey(const std::string& keyName) {
    return SessionsKey + keyName;
}
// A value's text, or "-" when there is no such value.
std::string Value(const std::string& key, const std::string& valueName) {
    return RegistryValueExists(key, valueName, ".")
               ? RegistryReadWholeText(key, valueName, ".")
                     .value_or(RegistryRead(key, valueName, "."))
               : "-";
}

class ConfigTest : public ProgramTest {
  protected:
    // mail (menu Server), web server (no menu), Zeta (menu Alpha), then the window.
    HWND Open(bool seed = true, bool passwords = false) {
        if (seed) {
            setup_.Session("mail", "Server").Session("web%20server").Session("Zeta", "Alpha");
        }
        setup_.LaterRun();
        Start();
        state_->settings.Passwortfunktionalitaet = passwords ? 1 : 0;
        Choose(kConfigureItem);
        window_ = FindProgramWindow("Quarnel Konfiguration");
        EXPECT_NE(window_, nullptr);
        return window_;
    }
    HWND Control(int number) const { return GetDlgItem(window_, number); }
    std::string Text(int number) const { return TextOf(Control(number)); }
    // A field's whole text at once, as typing ends; only the path field acts on it.
    void Put(int number, const std::wstring& text) {
        SetWindowTextW(Control(number), text.c_str());
        Pump();
    }
    void Put(int number, const std::string& text) { Put(number, Widen(text)); }
    // An entry picked as the user picks it: the selection, then the notification.
    void Pick(int combo, int entry) {
        SendMessageW(Control(combo), CB_SETCURSEL, entry, 0);
        SendMessageW(window_, WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Control(combo)));
        Pump();
    }
    void Click(int number) { ProgramTest::Click(window_, number); }
    Texts Entries(int combo) const { return test::Entries(Control(combo)); }
    bool Checked(int number) const {
        return SendMessageW(Control(number), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void Reopen() {
        DestroyWindow(window_);
        Pump();
        Choose(kConfigureItem);
        window_ = FindProgramWindow("Quarnel Konfiguration");
    }
    HWND window_ = nullptr;
};

TEST_F(ConfigTest, EveryControlLiesInTheWindowInItsFontAndTheListsComeFromTheCatalogue) {
    setup_.Session("Default%20Settings").Session("Zeta%2Fx", "Server");
    setup_.Setting("SSHSessionVorlage", "Zeta%2Fx"); // as stored before: the key, blanks decoded
    const HWND window = Open();
    RECT client{};
    GetClientRect(window, &client);
    const UINT dpi = WindowDpi(window);
    EXPECT_EQ(client.right * 96, 710 * static_cast<int>(dpi));
    EXPECT_EQ(client.bottom * 96, 512 * static_cast<int>(dpi));
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right) << GetDlgCtrlID(c);
        const int id = GetDlgCtrlID(c);
        const HFONT font = HFONT(SendMessageW(c, WM_GETFONT, 0, 0));
        if (id == 21 || id == 36) { // Arial 10 or 8 point, bold and italic; the heading underlined
            LOGFONTW f{};
            GetObjectW(font, sizeof f, &f);
            EXPECT_EQ(std::tuple(std::wstring(f.lfFaceName), f.lfHeight, f.lfWeight, f.lfItalic,
                                 f.lfUnderline),
                      std::tuple(std::wstring(L"Arial"),
                                 -MulDiv(id == 21 ? 10 : 8, static_cast<int>(dpi), 72),
                                 LONG(FW_BOLD), BYTE(1), BYTE(id == 21)));
        } else {
            EXPECT_EQ(font, state_->fonts.Get(0, dpi));
        }
    }
    LOGFONTW gui{}; // the system's dialog font is 8 point at every resolution
    GetObjectW(state_->fonts.Get(0, dpi), sizeof gui, &gui);
    EXPECT_EQ(gui.lfHeight, -MulDiv(8, static_cast<int>(dpi), 72));
    EXPECT_EQ(GetWindowLongW(Control(kMasterPasswordField), GWL_STYLE) & ES_PASSWORD, ES_PASSWORD);
    EXPECT_EQ(GetWindowLongW(Control(kSessionCombo), GWL_STYLE) & 3, CBS_DROPDOWNLIST); // no typing
    EXPECT_FALSE(IsWindowEnabled(Control(kMasterPasswordField))); // the function is off
    EXPECT_EQ(Entries(kSessionCombo), (Texts{"Bitte Session wählen:", kSep, "Default Settings",
                                             "mail", "web server", "Zeta", "Zeta/x"}));
    EXPECT_EQ(Entries(kSshTemplateCombo),
              (Texts{"Zeta/x", "Default Settings", "mail", "web server", "Zeta", "Zeta/x"}));
    EXPECT_EQ(Entries(kMenuCombo), (Texts{"", kSep, "Alpha", "Server", kSep}));
    // Typing goes on past a field's width.
    for (const HWND field : {Control(kPuttyPathField), GetWindow(Control(kMenuCombo), GW_CHILD)}) {
        SetWindowTextW(field, L"");
        for (int i = 0; i < 200; ++i) {
            SendMessageW(field, WM_CHAR, L'w', 1);
        }
        EXPECT_EQ(GetWindowTextLengthW(field), 200);
    }
    // The template is stored as shown, with its blank.
    Pick(kSshTemplateCombo, 3);
    EXPECT_EQ(Value(ProgramKey, "SSHSessionVorlage"), "web server");
    EXPECT_EQ(state_->settings.SSHSessionVorlage, "web server");
    // The window takes its tool tips along when it goes.
    EXPECT_EQ(state_->toolTips.Count(), 3 + 4);
    DestroyWindow(window);
    EXPECT_EQ(state_->toolTips.Count(), 3);
}

TEST_F(ConfigTest, TheBoxesShowTheSettingsAndAClickStoresAtOnce) {
    const struct {
        int box;
        const char* valueName;
        int8_t Settings::*field;
    } boxes[] = {
        {kQuitAfterLaunchCheck, "NachPuttyStartBeenden", &Settings::NachPuttyStartBeenden},
        {kMinimizeAfterLaunchCheck, "NachPuttyStartMinimieren",
         &Settings::NachPuttyStartMinimieren},
        {kStartMinimizedCheck, "Startminimized", &Settings::Startminimized},
        {kPasswordFunctionCheck, "Passwortfunktionalitaet", &Settings::Passwortfunktionalitaet}};
    Open();
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.valueName);
        for (const bool on : {true, false}) {
            state_->settings.*b.field = on ? 0 : 1;
            Reopen();
            EXPECT_EQ(Checked(b.box), !on);
            EXPECT_EQ(Value(ProgramKey, b.valueName), "-"); // the fill stores nothing
            Put(kMasterPasswordField, "m");
            Pick(kSessionCombo, kZeta);
            Put(kSessionPasswordField, "p");
            Click(b.box);
            EXPECT_EQ(Value(ProgramKey, b.valueName), on ? "1" : "0");
            EXPECT_EQ(state_->settings.*b.field, on ? 1 : 0);
            RegistryDeleteValue(ProgramKey, b.valueName, ".");
        }
    }
    // A setting that does not arrive is told of.
    {
        const RefusedRunKey program(HKEY_CURRENT_USER, true,
                                    L"Software\\SimonTatham\\PuTTY\\UlvasQuarnel");
        Click(kStartMinimizedCheck);
    }
    EXPECT_EQ(Boxes::Take(), Texts{"Fehler:|Die Einstellung \"Startminimized\" konnte nicht in "
                                   "der Registry gespeichert werden.|OK"});
    // Switching the password function on empties both fields and the pick; off disables.
    EXPECT_FALSE(IsWindowEnabled(Control(kMasterPasswordField)) ||
                 IsWindowEnabled(Control(kSessionPasswordField)));
    EXPECT_EQ(Text(kMasterPasswordField) + Text(kSessionPasswordField), "mp");
    Click(kPasswordFunctionCheck);
    EXPECT_EQ(IsWindowEnabled(Control(kSessionPasswordField)), TRUE);
    EXPECT_EQ(Text(kMasterPasswordField) + Text(kSessionPasswordField), "");
    EXPECT_EQ(SendMessageW(Control(kSessionCombo), CB_GETCURSEL, 0, 0), 0);
}

// The stand-in putty.exe is the readable file; its folder, a longer text and a path too
// long to read back (redundant folder steps) are not stored.
TEST_F(ConfigTest, ThePathIsStoredWhenItNamesAReadableFileThatReadsBackWhole) {
    const std::wstring putty = FakePuttyPath();
    const size_t slash = putty.rfind(L'\\');
    std::wstring tooLong = putty.substr(0, slash + 1);
    while (tooLong.size() + putty.size() - slash - 1 < 299) {
        tooLong += L".\\";
    }
    tooLong += putty.substr(slash + 1);
    const struct {
        std::wstring typed;
        const char* status;
        std::string stored;
    } cases[] = {
        {putty.substr(0, slash), "(Angegebene Datei nicht gefunden. Bitte prüfen!)", "vorher"},
        {putty + L"x", "(Angegebene Datei nicht gefunden. Bitte prüfen!)", "vorher"},
        {tooLong, "(Pfad zu lang. Bitte kürzer ablegen!)", "vorher"},
        {putty, "(Datei gefunden!. Alles OK!)", Narrow(putty)},
    };
    setup_.Setting("PuttyPfad", "vorher");
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        Put(kPuttyPathField, c.typed);
        SendMessageW(window_, WM_TIMER, 1, 0); // the pause after typing: its own check begins
        EXPECT_EQ(state_->settings.PuttyPfad, Narrow(c.typed));
        PumpUntil([&] { return Text(kPuttyPathStatusLabel) == c.status; }, c.status);
        EXPECT_EQ(Value(ProgramKey, "PuttyPfad"), c.stored);
    }
    // An answer that comes while more is typed is not the new text's, which is checked after
    // its own pause; leaving the field checks at once.
    Put(kPuttyPathField, putty);
    SendMessageW(window_, WM_TIMER, 1, 0); // the pause after typing: the check begins
    Put(kPuttyPathField, putty + L"x");
    PumpUntil([&] { return Text(kPuttyPathStatusLabel) == cases[0].status; }, "the new answer");
    EXPECT_EQ(Value(ProgramKey, "PuttyPfad"), Narrow(putty));
    SetWindowTextW(Control(kPuttyPathField), putty.c_str());
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(kPuttyPathField, EN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(Control(kPuttyPathField)));
    PumpUntil([&] { return Text(kPuttyPathStatusLabel) == cases[3].status; }, "the check");
    // A file picked in the requester takes the field's place and is checked.
    Boxes::PlanFile(putty + L"x");
    Click(kBrowseButton);
    EXPECT_EQ(Boxes::Take(), Texts{"Bitte Putty.exe Datei wählen:|dialog"});
    EXPECT_EQ(Text(kPuttyPathField), Narrow(putty + L"x"));
    PumpUntil([&] { return Text(kPuttyPathStatusLabel) == cases[0].status; }, "its check");
}

// What the user typed is stored exactly or not at all, and a failed write is named.
TEST_F(ConfigTest, SavingRefusesWhatCannotBeStoredAndSaysSo) {
    const std::string cannot = "\" enthält Zeichen, die Quarnel nicht speichern kann. Es wurde "
                               "nichts gespeichert.|OK";
    const struct {
        std::wstring password, menu;
        bool refused; // the session's key takes no change
        std::string box;
        std::wstring master = L"m";
    } cases[] = {
        {L"za\u017c\u00f3\u0142\u0107", L"Neu", false,
         "Fehler:|Das Feld \"Ggf. zugeordnetes Passwort" + cannot},
        {L"neu", L"\u041c\u0435\u043d\u044e", false,
         "Fehler:|Das Feld \"Menuzuordnung für die Session" + cannot},
        {L"neu", L"Neu", false, kUnkeptMaster, L"\u0142"},
        {L"neu", std::wstring(255, L'm'), false,
         "Fehler:|Der Menüname ist zu lang: höchstens 254 Zeichen können gespeichert und wieder "
         "gelesen werden. Es wurde nichts gespeichert.|OK"},
        {L"tab\there", L"Neu", false,
         "Fehler:|Das Passwort enthält Steuerzeichen (etwa einen Tabulator), die PuTTY nicht "
         "übergeben werden können. Es wurde nichts gespeichert.|OK"},
        {L"neu", L"Neu", true,
         "Fehler:|Das Passwort der Session \"web server\" konnte nicht gespeichert werden. "
         "Gibt es die Session in PuTTY noch?|OK"},
        {L"", L"Neu", true, // no password: the password function off
         "Fehler:|Die Menüzuordnung der Session \"web server\" konnte nicht gespeichert "
         "werden. Gibt es die Session in PuTTY noch?|OK"},
    };
    Open(true, true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        setup_.Session("web%20server", "", "alt", "m");
        state_->settings.Passwortfunktionalitaet = c.password.empty() ? 0 : 1;
        Put(kMasterPasswordField, "m");
        Pick(kSessionCombo, kWeb);
        Put(kSessionPasswordField, c.password);
        Put(kMenuCombo, c.menu);
        Put(kMasterPasswordField, c.master);
        Boxes::AnswerPrompts({"m"});
        Boxes::Take();
        {
            const RefusedRunKey session(HKEY_CURRENT_USER, c.refused,
                                        L"Software\\SimonTatham\\PuTTY\\Sessions\\web%20server");
            Click(kSaveButton);
        }
        Texts boxes = Boxes::Take();
        std::erase_if(boxes, [](const std::string& b) { return b.starts_with("prompt|"); });
        EXPECT_EQ(boxes, Texts{c.box});
        EXPECT_EQ(PasswordDecrypt(Value(SessionKey("web%20server"), PasswordValueName), "m"),
                  "alt");
        EXPECT_EQ(Value(SessionKey("web%20server"), MenuValueName), "-");
    }
}

TEST_F(ConfigTest, SavingAndDeletingMenuAssignments) {
    const struct {
        int entry;
        const char* typed;
        int button;
        const char* keyName;
        const char* stored;
        const char* first; // entries of the menu combo afterwards
        const char* last;
        size_t count;
    } steps[] = {
        {kWeb, "Neu", kSaveButton, "web%20server", "Neu", "Neu", "Neu", 6},
        {kMail, "Alpha", kSaveButton, "mail", "Alpha", "Alpha", "Neu", 6},   // listed already
        {kMail, "alpha", kSaveButton, "mail", "alpha", "alpha", "alpha", 7}, // names have case
        {kZeta, "", kSaveButton, "Zeta", "-", "alpha", "alpha", 7},
        {kMail, "x", kDeleteMenuButton, "mail", "-", "alpha", "alpha", 7},
        {0, "Los", kSaveButton, "Bitte%20Session%20wählen:", "-", "Los", "Los", 8},
    };
    Open();
    for (const auto& c : steps) {
        SCOPED_TRACE(c.typed);
        Pick(kSessionCombo, c.entry);
        Put(kMenuCombo, c.typed);
        Click(c.button);
        EXPECT_EQ(Value(SessionKey(c.keyName), MenuValueName), c.stored);
        const Texts entries = Entries(kMenuCombo);
        EXPECT_EQ(std::tuple(entries.front(), entries.at(1), entries.back(), entries.size()),
                  std::tuple(c.first, kSep, c.last, c.count));
        EXPECT_EQ(Text(kMenuCombo), c.button == kSaveButton ? c.typed : "");
    }
    // Picking a session shows its stored menu.
    Pick(kSessionCombo, kWeb);
    EXPECT_EQ(Text(kMenuCombo), "Neu");
    EXPECT_FALSE(RegistryKeyExists(SessionKey("Bitte%20Session%20wählen:"), "."));
    // Read again from PuTTY's sessions, the list has the stored names and keeps its first.
    PumpUntil([&] { return Entries(kMenuCombo).size() == 4; }, "the stored menu names");
    EXPECT_EQ(Entries(kMenuCombo), (Texts{"Los", kSep, "Neu", kSep}));
}

// What picking web server, saving and deleting its password do with the password stored
// under the master password "m", whose check is stored; the menu step follows each.
TEST_F(ConfigTest, PasswordStepsOfPickingSavingAndDeleting) {
    const std::string longest(255, 'a');
    const struct {
        char action; // 'p'ick, 's'ave, 'd'elete the password; 'n': save, nothing picked
        bool on;     // the password function
        std::wstring master;
        std::string typed, box;
        const char* stored; // what the stored value deciphers to; nullptr: no value
        std::string field;  // the password field afterwards
        const char* menu;   // the menu combo's text afterwards
    } cases[] = {
        {'p', true, L"m", "neu", "", "alt", "alt", "Web"},
        {'p', true, L"", "neu",
         "Fehler:|Bitte erst ein Masterpasswort eingegeben ,sonst kann ich nicht entschlüsseln|OK",
         "alt", "", "getippt"},
        {'p', true, L"x", "neu", kWrongMaster, "alt", "", "Web"},
        {'p', true, L"\u0142", "neu", kUnkeptMaster, "alt", "neu", "getippt"},
        {'p', false, L"", "neu", "", "alt", "neu", "Web"},
        {'s', true, L"m", "neu", "", "neu", "neu", "getippt"},
        {'s', true, L"x", "neu", kWrongMaster, "alt", "neu", "getippt"},
        {'s', true, L"", "neu",
         "Fehler:|Kein Masterpasswort eingegeben. Bitte ergänzen oder Passwortfunktion "
         "abschalten|OK",
         "alt", "neu", "getippt"},
        {'s', true, L"m", longest,
         "Fehler:|Dieses Passwort kann mit diesem Masterpasswort nicht vollständig gespeichert "
         "werden (verschlüsselt enthält es ein Null-Zeichen oder ist länger als 254 Zeichen). Es "
         "wurde nicht gespeichert; der bisher gespeicherte Wert bleibt erhalten.|OK",
         "alt", longest, "getippt"},
        {'s', false, L"", "neu", "", "alt", "neu", "getippt"},
        {'n', true, L"m", "neu", "", "alt", "neu", "getippt"}, // saved with no session picked
        {'d', false, L"", "neu", "", nullptr, "", "getippt"},
    };
    setup_.MasterCheckOf("m");
    Open(true, true);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.action << c.on << Narrow(c.master) << c.typed.size());
        setup_.Session("web%20server", "Web", "alt", "m");
        state_->settings.Passwortfunktionalitaet = c.on ? 1 : 0;
        Reopen();
        Put(kMasterPasswordField, "m");
        if (c.action == 's' || c.action == 'd') {
            Pick(kSessionCombo, kWeb);
        }
        Put(kMasterPasswordField, c.master);
        Put(kSessionPasswordField, c.typed);
        Put(kMenuCombo, "getippt");
        if (c.action == 'p') {
            Pick(kSessionCombo, kWeb);
        } else {
            Click(c.action == 'd' ? kDeletePasswordButton : kSaveButton);
        }
        EXPECT_EQ(Boxes::Take(), c.box.empty() ? Texts{} : Texts{c.box});
        const std::string stored = Value(SessionKey("web%20server"), PasswordValueName);
        EXPECT_EQ(stored == "-" ? "-" : PasswordDecrypt(stored, "m"), c.stored ? c.stored : "-");
        EXPECT_EQ(Text(kSessionPasswordField), c.field);
        EXPECT_EQ(Text(kMenuCombo), c.menu);
        EXPECT_EQ(Value(SessionKey("web%20server"), MenuValueName),
                  c.action == 's' ? "getippt" : "Web");
        EXPECT_EQ(Value(SessionsKey, PasswordValueName), "-"); // nor on PuTTY's key itself
        // A pick without a master password goes back to the first entry.
        EXPECT_EQ(SendMessageW(Control(kSessionCombo), CB_GETCURSEL, 0, 0),
                  c.action == 'n' || c.box.starts_with("Fehler:|Bitte erst") ? 0 : kWeb);
    }
}

// The first check is made only of a confirmed master password; a damaged one is said once
// and never replaced; deleting every password drops the check.
TEST_F(ConfigTest, TheCheckOfTheMasterPasswordComesOnlyFromAConfirmedOne) {
    const std::string notConfirmed = "Fehler:|Das Masterpasswort wurde nicht bestätigt. Das "
                                     "Passwort wurde nicht gespeichert.|OK";
    const std::string damaged = "Fehler:|Der gespeicherte Prüfwert des Masterpassworts";
    const std::string again = "prompt|Masterpasswort zur Bestätigung wiederholen:";
    const struct {
        const char* storedCheck; // nullptr: none
        const char* prompted;    // what the start-up prompt took; nullptr: nothing
        std::vector<const char*> answers;
        bool stored;
        Texts boxes;
        const char* checkAfter; // "m": a check of m
        bool programKeyRefused = false;
    } cases[] = {
        {nullptr, "m", {}, true, {}, "m"},
        {nullptr, "x", {"\x1b", "m"}, true, {again, again}, "m"}, // Esc leaves it asking
        {nullptr,
         nullptr,
         {"typo", nullptr},
         false,
         {again, again + "|Falsches Masterpasswort", notConfirmed},
         "-"},
        {"0:", "m", {}, false, {damaged}, "0:"},
        {nullptr,
         "m",
         {},
         false,
         {"Fehler:|Der Prüfwert des Masterpassworts konnte nicht gespeichert werden. Das Passwort "
          "wurde nicht gespeichert.|OK"},
         "-",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.checkAfter);
        QuarnelSetup setup;
        if (c.storedCheck) {
            setup.Setting(MasterCheckValueName, c.storedCheck);
        }
        Open(true, true);
        state_->master.confirmed = c.prompted != nullptr;
        state_->master.password = c.prompted ? c.prompted : "m";
        Boxes::AnswerPrompts(c.answers);
        Put(kMasterPasswordField, "m");
        Pick(kSessionCombo, kWeb);
        Put(kSessionPasswordField, "neu");
        {
            const RefusedRunKey program(HKEY_CURRENT_USER, c.programKeyRefused,
                                        L"Software\\SimonTatham\\PuTTY\\UlvasQuarnel");
            Click(kSaveButton);
        }
        EXPECT_TRUE(!c.stored || GetActiveWindow() == window_); // back from the prompt
        if (c.storedCheck) {
            Click(kSaveButton); // a damaged check is told of once
        }
        Texts boxes = Boxes::Take();
        for (std::string& box : boxes) {
            box = box.starts_with(damaged) ? damaged : box;
        }
        EXPECT_EQ(boxes, c.boxes);
        EXPECT_EQ(Value(SessionKey("web%20server"), PasswordValueName) != "-", c.stored);
        const std::string check = Value(ProgramKey, MasterCheckValueName);
        EXPECT_EQ(c.checkAfter == std::string("m")
                      ? CheckMasterPassword(check, "m") == MasterCheck::Matches
                      : check == c.checkAfter,
                  true);
        shell_.reset();
    }
    setup_.MasterCheckOf("m");
    Open(false, true);
    Boxes::Plan(IDYES);
    Click(kDeleteAllPasswordsButton);
    EXPECT_EQ(Boxes::Take(), Texts{kAskPasswords});
    EXPECT_EQ(Value(ProgramKey, MasterCheckValueName), "-");
}

TEST_F(ConfigTest, DeletingEverythingAsksFirstAndTheUninstallLeavesNothing) {
    const std::string incomplete =
        "Fehler:|Nicht alle Registryeinträge von Quarnel konnten entfernt werden (fehlen die "
        "Rechte?). Bitte die Deinstallation wiederholen oder die Einträge mit regedit "
        "entfernen.|OK";
    const struct {
        int button, answer;
        Texts boxes;
        bool passwords, menus, program;  // what stays
        const char* autostart = nullptr; // the machine's and the user's values; nullptr: as program
    } cases[] = {
        {kDeleteAllPasswordsButton, IDNO, {kAskPasswords}, true, true, true},
        {kDeleteAllPasswordsButton, IDYES, {kAskPasswords}, false, true, true},
        {kDeleteAllMenusButton, IDNO, {kAskMenus}, true, true, true},
        {kDeleteAllMenusButton, IDYES, {kAskMenus}, true, false, true},
        {kUninstallButton, IDNO, {kAskUninstall}, true, true, true},
        {kUninstallButton, IDYES, {kAskUninstall}, false, false, false},
        // The machine's Run key refused: what is left is told of.
        {kUninstallButton, IDYES, {kAskUninstall, incomplete}, false, false, false, "x-"},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.boxes.front() + std::to_string(c.answer));
        setup_.Session("neu"); // saved in PuTTY after the start
        RegistryCreateKey(ProgramKey + "Unter\\", ".");
        for (const char* keyName : {"mail", "web%20server", "Zeta", "neu"}) {
            RegistryWrite(SessionKey(keyName), PasswordValueName, "pw", kRegSz, ".");
            RegistryWrite(SessionKey(keyName), MenuValueName, "Menü", kRegSz, ".");
            RegistryWrite(SessionKey(keyName), "HostName", "h", kRegSz, ".");
        }
        RegistryWrite(MachineRunKey, AutostartValueName, "x", kRegSz, ".");
        RegistryWrite(UserRunKey, AutostartValueName, "x", kRegSz, ".");
        Boxes::Plan(c.answer);
        {
            const RefusedRunKey machine(HKEY_LOCAL_MACHINE, c.autostart != nullptr);
            Click(c.button);
        }
        EXPECT_EQ(Boxes::Take(), c.boxes);
        for (const char* keyName : {"mail", "web%20server", "Zeta", "neu"}) {
            EXPECT_EQ(Value(SessionKey(keyName), PasswordValueName), c.passwords ? "pw" : "-");
            EXPECT_EQ(Value(SessionKey(keyName), MenuValueName), c.menus ? "Menü" : "-");
            EXPECT_EQ(Value(SessionKey(keyName), "HostName"), "h");
        }
        EXPECT_EQ(RegistryKeyExists(ProgramKey, ".") != 0, c.program);
        EXPECT_EQ(Value(MachineRunKey, AutostartValueName) + Value(UserRunKey, AutostartValueName),
                  c.autostart ? c.autostart
                  : c.program ? "xx"
                              : "--");
    }
    Click(kQuitAfterLaunchCheck); // uninstalled: the setting is not stored, and nothing said
    EXPECT_EQ(Boxes::Take(), Texts{});
}

TEST_F(ConfigTest, AutostartFallsBackToTheUsersRunKeyAndReportsWhatItCannotDo) {
    const std::string quoted = "\"" + Narrow(ProgramFileName()) + "\"";
    const struct {
        bool before, refuseMachine, refuseUser;
        std::string machine, user; // the values afterwards
        bool ticked;
        std::string box;
    } cases[] = {
        {false, false, false, quoted, "-", true, ""},
        {true, false, false, "-", "-", false, ""},
        {false, true, false, "-", quoted, true, ""},
        {false, true, true, "-", "-", false,
         "Fehler|Quarnel konnte weder für alle Benutzer noch für den aktuellen Benutzer in den "
         "Autostart eingetragen werden.|OK"},
        {true, true, false, "x", "-", true,
         "Fehler|Der Autostart-Eintrag von Quarnel konnte nicht entfernt werden.|OK"},
    };
    RegistryDeleteTree(UserRunKey, "."); // the third row makes it, as a new account has none
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.before << c.refuseMachine << c.refuseUser);
        for (const std::string& key : {MachineRunKey, UserRunKey}) {
            c.before ? RegistryWrite(key, AutostartValueName, "x", kRegSz, ".")
                     : RegistryDeleteValue(key, AutostartValueName, ".");
        }
        state_->settings.Autostart = c.before;
        Reopen();
        {
            const RefusedRunKey machine(HKEY_LOCAL_MACHINE, c.refuseMachine);
            const RefusedRunKey user(HKEY_CURRENT_USER, c.refuseUser);
            Click(kAutostartCheck);
        }
        EXPECT_EQ(Boxes::Take(), c.box.empty() ? Texts{} : Texts{c.box});
        EXPECT_EQ(Value(MachineRunKey, AutostartValueName), c.machine);
        EXPECT_EQ(Value(UserRunKey, AutostartValueName), c.user);
        EXPECT_EQ(std::tuple(Checked(kAutostartCheck), state_->settings.Autostart),
                  std::tuple(c.ticked, c.ticked));
    }
    // The path as the system gives it, however long, whatever its characters.
    const std::wstring file = L"C:\\" + std::wstring(280, L'\u0142') + L"\\quarnel.exe";
    EXPECT_TRUE(SwitchAutostart(true, file));
    EXPECT_EQ(RegistryReadWholeWideText(MachineRunKey, AutostartValueName), L"\"" + file + L"\"");
    EXPECT_FALSE(SwitchAutostart(false, file));
}

} // namespace
} // namespace quarnel::test
