// What the controls of the configuration window do, driven the way a user drives them,
// checked in the registry, in the settings and in the window.
#include "config_fixture.h"

#include "app/program.h"
#include "config/config_window.h"
#include "registry/registry.h"
#include "vault/cipher.h"
#include "win/text.h"

#include <commdlg.h>
#include <dlgs.h>

namespace quarnel::test {
namespace {

constexpr char kFound[] = "(Datei gefunden!. Alles OK!)";
constexpr char kNotFound[] = "(Angegebene Datei nicht gefunden. Bitte prüfen!)";
const ShownDialog kNoMasterToDecrypt{
    "Fehler:", "Bitte erst ein Masterpasswort eingegeben ,sonst kann ich nicht entschlüsseln",
    "OK"};
const ShownDialog kNoMasterToStore{
    "Fehler:", "Kein Masterpasswort eingegeben. Bitte ergänzen oder Passwortfunktion abschalten",
    "OK"};
const ShownDialog kUnstorable{
    "Fehler:",
    "Dieses Passwort kann mit diesem Masterpasswort nicht vollständig gespeichert werden "
    "(verschlüsselt enthält es ein Null-Zeichen oder ist länger als 254 Zeichen). Es wurde "
    "nicht gespeichert; der bisher gespeicherte Wert bleibt erhalten.",
    "OK"};
const ShownDialog kDeleteAllPasswords{
    "Passwörter Löschen", "Sollen wirklich alle gespeicherten Passwörter gelöscht werden?",
    "YesNo"};
const ShownDialog kDeleteAllMenus{"Menues Löschen",
                                  "Sollen wirklich alle Menüzuordnungen gelöscht werden?", "YesNo"};
const ShownDialog kUninstall{
    "Quarnel deinstallieren",
    "Es werden alle von Quarnel angelegten Registryeinträge (Einstellungen/Menüs/Passwörter) "
    "entfernt.\r(Die quarnel.exe bleibt erhalten und muß ggf. manuell gelöscht werden).\r"
    "Wirklich fortfahren?",
    "YesNo"};
const ShownDialog kAutostartNotWritten{
    "Fehler",
    "Quarnel konnte weder für alle Benutzer noch für den aktuellen Benutzer in den Autostart "
    "eingetragen werden.",
    "OK"};
const ShownDialog kAutostartNotRemoved{
    "Fehler", "Der Autostart-Eintrag von Quarnel konnte nicht entfernt werden.", "OK"};

using Dialogs = std::vector<ShownDialog>;

std::string Key(const std::string& keyName) {
    return SessionsKey + keyName;
}

class ConfigActionsTest : public ConfigWindowTest {
  protected:
    // Sessions "mail" (menu Server), "web server" (no menu) and "Zeta" (menu Alpha).
    void SeedThree() {
        SeedSessions({{"mail", "Server"}, {"web%20server", ""}, {"Zeta", "Alpha"}});
    }
    static constexpr int kMail = 2, kWebServer = 3, kZeta = 4; // their SessionCombo entries
};

TEST_F(ConfigActionsTest, PickingASessionWithoutThePasswordFunctionLoadsItsMenu) {
    SeedThree();
    Open();
    const struct {
        int entry;
        const char* menu;
    } cases[] = {{kMail, "Server"}, {kWebServer, ""}, {kZeta, "Alpha"},
                 {1, ""},           {kZeta, "Alpha"}, {0, ""}};
    for (const auto& c : cases) {
        Pick(kSessionCombo, c.entry);
        EXPECT_EQ(Text(kMenuCombo), c.menu) << c.entry;
        EXPECT_EQ(Entries(kMenuCombo).size(), 5u); // entries stay
    }
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{});
}

TEST_F(ConfigActionsTest, PickingWithoutMasterPasswordIsRefusedAndKeepsTheMenuText) {
    SeedThree();
    TheProgram().settings.Passwortfunktionalitaet = 1;
    Open();
    Enter(kMenuCombo, "getippt");
    Enter(kSessionPasswordField, "alt");
    Pick(kSessionCombo, kZeta);
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{kNoMasterToDecrypt});
    EXPECT_EQ(Selection(kSessionCombo), 0);
    EXPECT_EQ(Text(kSessionPasswordField), "");
    EXPECT_EQ(Text(kMenuCombo), "getippt");
}

TEST_F(ConfigActionsTest, PickingWithMasterPasswordShowsTheDecipheredPassword) {
    SeedThree();
    RegistryWrite(Key("web%20server"), PasswordValueName, PasswordEncrypt("geheim", "master"),
                  kRegSz, ".");
    TheProgram().settings.Passwortfunktionalitaet = 1;
    Open();
    Enter(kMasterPasswordField, "master");
    Pick(kSessionCombo, kWebServer);
    EXPECT_EQ(Text(kSessionPasswordField), "geheim");
    EXPECT_EQ(Text(kMenuCombo), "");
    Pick(kSessionCombo, kMail); // no stored password: the field empties
    EXPECT_EQ(Text(kSessionPasswordField), "");
    EXPECT_EQ(Text(kMenuCombo), "Server");
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{});
}

TEST_F(ConfigActionsTest, SavingStoresPasswordAndMenuAndKeepsTheMenuListCurrent) {
    SeedThree();
    TheProgram().settings.Passwortfunktionalitaet = 1;
    Open();
    Enter(kMasterPasswordField, "master");
    Pick(kSessionCombo, kWebServer);
    Enter(kSessionPasswordField, "geheim");
    Enter(kMenuCombo, "Neu");
    Click(kSaveButton);
    EXPECT_EQ(Stored(Key("web%20server"), PasswordValueName), PasswordEncrypt("geheim", "master"));
    EXPECT_EQ(Stored(Key("web%20server"), MenuValueName), "Neu");
    const std::string sep = "---------------------";
    EXPECT_EQ(Entries(kMenuCombo),
              (std::vector<std::string>{"Neu", sep, "Server", "Alpha", sep, "Neu"}));
    EXPECT_EQ(Text(kMenuCombo), "Neu");

    // A name that is an entry already is stored but not added again.
    Pick(kSessionCombo, kMail);
    Enter(kMenuCombo, "Alpha");
    Click(kSaveButton);
    EXPECT_EQ(Stored(Key("mail"), MenuValueName), "Alpha");
    EXPECT_EQ(Entries(kMenuCombo),
              (std::vector<std::string>{"Alpha", sep, "Server", "Alpha", sep, "Neu"}));
    // Names compare with case.
    Enter(kMenuCombo, "alpha");
    Click(kSaveButton);
    EXPECT_EQ(Stored(Key("mail"), MenuValueName), "alpha");
    EXPECT_EQ(Entries(kMenuCombo).back(), "alpha");

    // An empty menu name removes the assignment.
    Pick(kSessionCombo, kZeta);
    Enter(kMenuCombo, "");
    Click(kSaveButton);
    EXPECT_FALSE(Has(Key("Zeta"), MenuValueName));
    EXPECT_EQ(Text(kMenuCombo), "");
    EXPECT_TRUE(Has(Key("Zeta"), "HostName"));
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{});
}

TEST_F(ConfigActionsTest, SavingWithoutMasterPasswordStoresOnlyTheMenu) {
    SeedThree();
    TheProgram().settings.Passwortfunktionalitaet = 1;
    Open();
    Enter(kMasterPasswordField, "master");
    Pick(kSessionCombo, kMail);
    Enter(kMasterPasswordField, "");
    Enter(kSessionPasswordField, "geheim");
    Enter(kMenuCombo, "Neu");
    Click(kSaveButton);
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{kNoMasterToStore});
    EXPECT_FALSE(Has(Key("mail"), PasswordValueName));
    EXPECT_EQ(Stored(Key("mail"), MenuValueName), "Neu");
}

TEST_F(ConfigActionsTest, WithThePasswordFunctionOffSavingTouchesNoPassword) {
    SeedThree();
    RegistryWrite(Key("mail"), PasswordValueName, "alt", kRegSz, ".");
    Open();
    Pick(kSessionCombo, kMail);
    Enter(kMenuCombo, "Server");
    Click(kSaveButton);
    EXPECT_EQ(Stored(Key("mail"), PasswordValueName), "alt");
    EXPECT_EQ(Stored(Key("mail"), MenuValueName), "Server");
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{});
}

TEST_F(ConfigActionsTest, WithoutAChosenSessionNothingIsStoredButTheNameIsListed) {
    SeedThree();
    TheProgram().settings.Passwortfunktionalitaet = 1;
    Open();
    Enter(kMasterPasswordField, "master");
    for (int fixedEntry : {0, 1}) {
        Pick(kSessionCombo, fixedEntry);
        Enter(kSessionPasswordField, "geheim");
        Enter(kMenuCombo, "Neu" + std::to_string(fixedEntry));
        Click(kSaveButton);
        Click(kDeleteMenuButton);
        EXPECT_EQ(Entries(kMenuCombo).back(), "Neu" + std::to_string(fixedEntry));
    }
    for (const char* keyName : {"Bitte%20Session%20wählen:", "---------------------"}) {
        EXPECT_EQ(RegistryKeyExists(Key(keyName), "."), 0) << keyName;
    }
    EXPECT_EQ(RegistryProbe(SessionsKey, MenuValueName, "."), 0);
    EXPECT_EQ(RegistryProbe(SessionsKey, PasswordValueName, "."), 0);
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{});
}

TEST_F(ConfigActionsTest, APasswordThatCannotBeStoredWholeIsRefused) {
    SeedThree();
    // Under some master password the one-letter password equal to the first key stream
    // byte enciphers to the zero byte.
    std::string master;
    std::string zeroing;
    for (const char* candidate : {"m", "n", "o", "p"}) {
        const char keyByte = static_cast<char>(PasswordEncrypt("\x01", candidate).at(0) ^ 1);
        if (keyByte != 0) {
            master = candidate;
            zeroing.assign(1, keyByte);
            break;
        }
    }
    ASSERT_FALSE(zeroing.empty());
    ASSERT_EQ(PasswordEncrypt(zeroing, master), std::string(1, '\0'));

    RegistryWrite(Key("mail"), PasswordValueName, "alt", kRegSz, ".");
    TheProgram().settings.Passwortfunktionalitaet = 1;
    Open();
    Enter(kMasterPasswordField, master);
    Pick(kSessionCombo, kMail);
    dialogs.TakeShown();
    for (const std::string& password : {zeroing, std::string(255, 'a')}) {
        SCOPED_TRACE(password.size());
        Enter(kSessionPasswordField, password);
        Enter(kMenuCombo, "Neu");
        RegistryDeleteValue(Key("mail"), MenuValueName, ".");
        Click(kSaveButton);
        EXPECT_EQ(dialogs.TakeShown(), Dialogs{kUnstorable});
        EXPECT_EQ(Stored(Key("mail"), PasswordValueName), "alt");
        EXPECT_EQ(Stored(Key("mail"), MenuValueName), "Neu"); // the menu step still runs
    }
    // 254 letters still go, when none of them meets its key stream byte.
    const std::string keyStream = PasswordEncrypt(std::string(254, '\0'), master);
    std::string longest(254, 'a');
    for (size_t i = 0; i < longest.size(); ++i) {
        if (keyStream[i] == 'a') {
            longest[i] = 'b';
        }
    }
    Enter(kSessionPasswordField, longest);
    Click(kSaveButton);
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{});
    EXPECT_EQ(PasswordDecrypt(Stored(Key("mail"), PasswordValueName), master), longest);
}

TEST_F(ConfigActionsTest, DeletingAPasswordNeedsNeitherFunctionNorMasterPassword) {
    SeedThree();
    for (const char* keyName : {"mail", "web%20server"}) {
        RegistryWrite(Key(keyName), PasswordValueName, "x", kRegSz, ".");
    }
    Open();
    Pick(kSessionCombo, kWebServer);
    Enter(kSessionPasswordField, "sichtbar");
    Click(kDeletePasswordButton);
    EXPECT_FALSE(Has(Key("web%20server"), PasswordValueName));
    EXPECT_TRUE(Has(Key("mail"), PasswordValueName));
    EXPECT_EQ(Text(kSessionPasswordField), "");
    Click(kDeletePasswordButton); // nothing left to delete: still no message
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{});
}

TEST_F(ConfigActionsTest, DeletingAllPasswordsOrMenusAsksFirst) {
    const struct {
        int button;
        ShownDialog question;
        const std::string& valueName;
        const std::string& otherValueName;
    } cases[] = {{kDeleteAllPasswordsButton, kDeleteAllPasswords, PasswordValueName, MenuValueName},
                 {kDeleteAllMenusButton, kDeleteAllMenus, MenuValueName, PasswordValueName}};
    SeedThree();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.question.title);
        for (const char* keyName : {"mail", "web%20server", "Zeta"}) {
            RegistryWrite(Key(keyName), PasswordValueName, "pw", kRegSz, ".");
            RegistryWrite(Key(keyName), MenuValueName, "Menü", kRegSz, ".");
        }
        Open();
        Pick(kSessionCombo, kMail);
        Enter(kSessionPasswordField, "bleibt");
        Enter(kMenuCombo, "bleibt auch");
        const auto entries = Entries(kMenuCombo);

        dialogs.Plan(DialogAnswerer::Press(IDNO));
        Click(c.button);
        EXPECT_EQ(dialogs.TakeShown(), Dialogs{c.question});
        for (const char* keyName : {"mail", "web%20server", "Zeta"}) {
            EXPECT_TRUE(Has(Key(keyName), c.valueName)) << keyName;
        }

        dialogs.Plan(DialogAnswerer::Press(IDYES));
        Click(c.button);
        EXPECT_EQ(dialogs.TakeShown(), Dialogs{c.question});
        for (const char* keyName : {"mail", "web%20server", "Zeta"}) {
            EXPECT_FALSE(Has(Key(keyName), c.valueName)) << keyName;
            EXPECT_TRUE(Has(Key(keyName), c.otherValueName)) << keyName;
            EXPECT_TRUE(Has(Key(keyName), "HostName")) << keyName;
        }
        EXPECT_EQ(Text(kSessionPasswordField), "bleibt");
        EXPECT_EQ(Text(kMenuCombo), "bleibt auch");
        EXPECT_EQ(Entries(kMenuCombo), entries);
        SendMessageW(Window(), WM_CLOSE, 0, 0);
    }
}

TEST_F(ConfigActionsTest, ARightClickOnAButtonDoesNothing) {
    SeedThree();
    RegistryWrite(Key("mail"), MenuValueName, "Server", kRegSz, ".");
    Open();
    Pick(kSessionCombo, kMail);
    for (int button : {kDeleteAllMenusButton, kDeleteMenuButton, kUninstallButton}) {
        SendMessageW(Gadget(button), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
        SendMessageW(Gadget(button), WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
    }
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{});
    EXPECT_EQ(Stored(Key("mail"), MenuValueName), "Server");
    EXPECT_EQ(RegistryKeyExists(ProgramKey, "."), 1);
}

TEST_F(ConfigActionsTest, ThePasswordFunctionSwitchesTheFields) {
    SeedThree();
    Open();
    Pick(kSessionCombo, kZeta);
    Enter(kMasterPasswordField, "m");
    Enter(kSessionPasswordField, "p");

    Click(kPasswordFunctionCheck);
    EXPECT_EQ(Stored(ProgramKey, "Passwortfunktionalitaet"), "1");
    EXPECT_EQ(TheProgram().settings.Passwortfunktionalitaet, 1);
    EXPECT_TRUE(IsWindowEnabled(Gadget(kMasterPasswordField)));
    EXPECT_TRUE(IsWindowEnabled(Gadget(kSessionPasswordField)));
    EXPECT_EQ(Selection(kSessionCombo), 0);
    EXPECT_EQ(Text(kMasterPasswordField), "");
    EXPECT_EQ(Text(kSessionPasswordField), "");

    Enter(kMasterPasswordField, "m2");
    Enter(kSessionPasswordField, "p2");
    Click(kPasswordFunctionCheck);
    EXPECT_EQ(Stored(ProgramKey, "Passwortfunktionalitaet"), "0");
    EXPECT_EQ(TheProgram().settings.Passwortfunktionalitaet, 0);
    EXPECT_FALSE(IsWindowEnabled(Gadget(kMasterPasswordField)));
    EXPECT_FALSE(IsWindowEnabled(Gadget(kSessionPasswordField)));
    EXPECT_EQ(Text(kMasterPasswordField), "m2");
    EXPECT_EQ(Text(kSessionPasswordField), "p2");
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{});
}

TEST_F(ConfigActionsTest, GeneralOptionsAreStoredAndTakeEffectAtOnce) {
    const struct {
        int box;
        const char* valueName;
        int8_t Settings::*field;
    } cases[] = {
        {kQuitAfterLaunchCheck, "NachPuttyStartBeenden", &Settings::NachPuttyStartBeenden},
        {kMinimizeAfterLaunchCheck, "NachPuttyStartMinimieren",
         &Settings::NachPuttyStartMinimieren},
        {kStartMinimizedCheck, "Startminimized", &Settings::Startminimized},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.valueName);
        Click(c.box);
        EXPECT_EQ(Stored(ProgramKey, c.valueName), "1");
        EXPECT_EQ(TheProgram().settings.*c.field, 1);
        Click(c.box);
        EXPECT_EQ(Stored(ProgramKey, c.valueName), "0");
        EXPECT_EQ(TheProgram().settings.*c.field, 0);
    }
    // Each box writes its own value only.
    Click(kQuitAfterLaunchCheck);
    EXPECT_EQ(Stored(ProgramKey, "NachPuttyStartBeenden"), "1");
    EXPECT_EQ(Stored(ProgramKey, "NachPuttyStartMinimieren"), "0");
    EXPECT_EQ(Stored(ProgramKey, "Startminimized"), "0");
    EXPECT_EQ(Stored(ProgramKey, "Passwortfunktionalitaet"), "");
}

TEST_F(ConfigActionsTest, TheTemplateIsStoredAsTheDisplayName) {
    SeedThree();
    Open();
    Pick(kSshTemplateCombo, 2); // "web server"
    EXPECT_EQ(TheProgram().settings.SSHSessionVorlage, "web server");
    EXPECT_EQ(Stored(ProgramKey, "SSHSessionVorlage"), "web server");
    Pick(kSshTemplateCombo, 0);
    EXPECT_EQ(Stored(ProgramKey, "SSHSessionVorlage"), "Default Settings");
}

TEST_F(ConfigActionsTest, DeletingAMenuAssignmentKeepsTheEntries) {
    SeedThree();
    Open();
    Pick(kSessionCombo, kZeta);
    ASSERT_EQ(Text(kMenuCombo), "Alpha");
    const auto entries = Entries(kMenuCombo);
    Click(kDeleteMenuButton);
    EXPECT_FALSE(Has(Key("Zeta"), MenuValueName));
    EXPECT_TRUE(Has(Key("mail"), MenuValueName));
    EXPECT_EQ(Text(kMenuCombo), "");
    EXPECT_EQ(Entries(kMenuCombo), entries);
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{});
}

TEST_F(ConfigActionsTest, TypingThePathStoresEachPrefixThatNamesAFile) {
    ScratchFile("a");
    ScratchFile("abc");
    RegistryWrite(ProgramKey, "PuttyPfad", "vorher", kRegSz, ".");
    TheProgram().settings.PuttyPfad = "";
    Open();
    const std::string typed = ScratchFolder() + "\\abc";
    std::string lastFound = "vorher";
    for (size_t length = 1; length <= typed.size(); ++length) {
        const std::string prefix = typed.substr(0, length);
        SCOPED_TRACE(prefix);
        TypeChars(kPuttyPathField, typed.substr(length - 1, 1));
        const bool names = prefix == ScratchFolder() + "\\a" || prefix == typed;
        if (names) {
            lastFound = prefix;
        }
        EXPECT_EQ(Text(kPuttyPathField), prefix);
        EXPECT_EQ(TheProgram().settings.PuttyPfad, prefix);
        EXPECT_EQ(Text(kPuttyPathStatusLabel), names ? kFound : kNotFound);
        EXPECT_EQ(Stored(ProgramKey, "PuttyPfad"), lastFound);
    }
    // Deleting back to the folder passes the file "a" once more.
    for (int i = 0; i < 3; ++i) {
        SendMessageW(Gadget(kPuttyPathField), WM_CHAR, VK_BACK, 1);
    }
    EXPECT_EQ(Text(kPuttyPathStatusLabel), kNotFound);
    EXPECT_EQ(TheProgram().settings.PuttyPfad, ScratchFolder() + "\\");
    EXPECT_EQ(Stored(ProgramKey, "PuttyPfad"), ScratchFolder() + "\\a");
}

TEST_F(ConfigActionsTest, CancellingTheFileRequesterEmptiesThePath) {
    const std::string putty = ScratchFile("putty.exe");
    TheProgram().settings.PuttyPfad = putty;
    Open();
    ASSERT_EQ(Stored(ProgramKey, "PuttyPfad"), putty);
    // Another window of the program, such as the main window, waits for the requester.
    const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPED | WS_VISIBLE, 0, 0,
                                       100, 100, nullptr, nullptr, nullptr, nullptr);
    std::string presetName;
    bool otherEnabled = true;
    dialogs.Plan([&](HWND dialog) {
        wchar_t text[MAX_PATH] = {};
        GetDlgItemTextW(dialog, cmb13, text, MAX_PATH);
        presetName = Narrow(text);
        otherEnabled = IsWindowEnabled(other) != 0;
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    Click(kBrowseButton);
    EXPECT_FALSE(otherEnabled);
    EXPECT_TRUE(IsWindowEnabled(other));
    DestroyWindow(other);
    const Dialogs shown = dialogs.TakeShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Bitte Putty.exe Datei wählen:");
    EXPECT_EQ(presetName, "putty.exe");
    EXPECT_EQ(Text(kPuttyPathField), "");
    EXPECT_EQ(TheProgram().settings.PuttyPfad, "");
    EXPECT_EQ(Text(kPuttyPathStatusLabel), kNotFound);
    EXPECT_EQ(Stored(ProgramKey, "PuttyPfad"), putty);
}

TEST_F(ConfigActionsTest, AFileChosenInTheRequesterBecomesThePath) {
    const std::string other = ScratchFile("other.exe");
    TheProgram().settings.PuttyPfad = ScratchFolder() + "\\putty.exe"; // not there
    Open();
    dialogs.Plan([other](HWND dialog) {
        SetDlgItemTextW(dialog, cmb13, Widen(other).c_str());
        DialogAnswerer::Press(IDOK)(dialog);
    });
    Click(kBrowseButton);
    EXPECT_EQ(dialogs.TakeShown().size(), 1u);
    EXPECT_EQ(Text(kPuttyPathField), other);
    EXPECT_EQ(TheProgram().settings.PuttyPfad, other);
    EXPECT_EQ(Text(kPuttyPathStatusLabel), kFound);
    EXPECT_EQ(Stored(ProgramKey, "PuttyPfad"), other);
}

class AutostartTest : public ConfigActionsTest {
  protected:
    static constexpr wchar_t kMachineRun[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr wchar_t kUserRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

    void SetUp() override {
        ConfigActionsTest::SetUp();
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, kUserRun, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr);
        RegCloseKey(key);
        wchar_t file[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, file, MAX_PATH);
        runValue.append(1, '"').append(Narrow(file)).append(1, '"');
    }
    std::string runValue;
};

TEST_F(AutostartTest, TickingWritesTheMachineRunKeyAndClearingRemovesIt) {
    Open();
    Click(kAutostartCheck);
    EXPECT_EQ(Stored(MachineRunKey, AutostartValueName), runValue);
    EXPECT_FALSE(Has(UserRunKey, AutostartValueName));
    EXPECT_TRUE(TheProgram().settings.Autostart);
    EXPECT_TRUE(Checked(kAutostartCheck));

    RegistryWrite(UserRunKey, AutostartValueName, "alt", kRegSz, ".");
    Click(kAutostartCheck);
    EXPECT_FALSE(Has(MachineRunKey, AutostartValueName));
    EXPECT_FALSE(Has(UserRunKey, AutostartValueName));
    EXPECT_FALSE(TheProgram().settings.Autostart);
    EXPECT_FALSE(Checked(kAutostartCheck));
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{});

    // The next opening shows the state in memory.
    Click(kAutostartCheck);
    SendMessageW(Window(), WM_CLOSE, 0, 0);
    Open();
    EXPECT_TRUE(Checked(kAutostartCheck));
}

TEST_F(AutostartTest, ARefusedMachineRunKeyFallsBackToTheUsersRunKey) {
    Open();
    {
        ReadOnlyKey machine(HKEY_LOCAL_MACHINE, kMachineRun);
        Click(kAutostartCheck);
        EXPECT_FALSE(Has(MachineRunKey, AutostartValueName));
        EXPECT_EQ(Stored(UserRunKey, AutostartValueName), runValue);
        EXPECT_TRUE(Checked(kAutostartCheck));
        EXPECT_TRUE(TheProgram().settings.Autostart);
        EXPECT_EQ(dialogs.TakeShown(), Dialogs{});

        Click(kAutostartCheck);
        EXPECT_FALSE(Has(UserRunKey, AutostartValueName));
        EXPECT_FALSE(Checked(kAutostartCheck));
        EXPECT_FALSE(TheProgram().settings.Autostart);
        EXPECT_EQ(dialogs.TakeShown(), Dialogs{});
    }
}

TEST_F(AutostartTest, WhenNoRunKeyCanBeWrittenTheBoxShowsTheRealState) {
    Open();
    {
        ReadOnlyKey machine(HKEY_LOCAL_MACHINE, kMachineRun);
        ReadOnlyKey user(HKEY_CURRENT_USER, kUserRun);
        Click(kAutostartCheck);
    }
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{kAutostartNotWritten});
    EXPECT_FALSE(Has(MachineRunKey, AutostartValueName));
    EXPECT_FALSE(Has(UserRunKey, AutostartValueName));
    EXPECT_FALSE(Checked(kAutostartCheck));
    EXPECT_FALSE(TheProgram().settings.Autostart);
}

TEST_F(AutostartTest, AValueThatCannotBeRemovedKeepsTheBoxTicked) {
    RegistryWrite(MachineRunKey, AutostartValueName, "\"C:\\alt\\quarnel.exe\"", kRegSz, ".");
    RegistryWrite(UserRunKey, AutostartValueName, "\"C:\\alt\\quarnel.exe\"", kRegSz, ".");
    TheProgram().settings.Autostart = true;
    Open();
    {
        ReadOnlyKey machine(HKEY_LOCAL_MACHINE, kMachineRun);
        Click(kAutostartCheck);
    }
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{kAutostartNotRemoved});
    EXPECT_TRUE(Has(MachineRunKey, AutostartValueName));
    EXPECT_FALSE(Has(UserRunKey, AutostartValueName));
    EXPECT_TRUE(Checked(kAutostartCheck));
    EXPECT_TRUE(TheProgram().settings.Autostart);
}

TEST_F(ConfigActionsTest, UninstallRemovesEveryEntryOfTheProgramOnlyOnYes) {
    SeedThree();
    SeedSessions({{"neu%20seit%20Start", "Server"}});
    TheProgram().catalogue.allSessions.pop_back(); // came after start-up
    for (const char* keyName : {"mail", "web%20server", "Zeta"}) {
        RegistryWrite(Key(keyName), PasswordValueName, "pw", kRegSz, ".");
    }
    RegistryWrite(ProgramKey, "Startminimized", "1", kRegSz, ".");
    RegistryWrite(MachineRunKey, AutostartValueName, "\"x\"", kRegSz, ".");
    RegistryCreateKey(UserRunKey, ".");
    RegistryWrite(UserRunKey, AutostartValueName, "\"x\"", kRegSz, ".");
    Open();

    dialogs.Plan(DialogAnswerer::Press(IDNO));
    Click(kUninstallButton);
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{kUninstall});
    EXPECT_EQ(Stored(ProgramKey, "Startminimized"), "1");
    EXPECT_TRUE(Has(Key("mail"), PasswordValueName));
    EXPECT_TRUE(Has(MachineRunKey, AutostartValueName));

    dialogs.Plan(DialogAnswerer::Press(IDYES));
    Click(kUninstallButton);
    EXPECT_EQ(dialogs.TakeShown(), Dialogs{kUninstall});
    EXPECT_EQ(RegistryKeyExists(ProgramKey, "."), 0);
    for (const char* keyName : {"mail", "web%20server", "Zeta"}) {
        SCOPED_TRACE(keyName);
        EXPECT_FALSE(Has(Key(keyName), MenuValueName));
        EXPECT_FALSE(Has(Key(keyName), PasswordValueName));
        EXPECT_EQ(Stored(Key(keyName), "HostName"), std::string(keyName) + ".example");
    }
    EXPECT_EQ(Stored(Key("neu%20seit%20Start"), MenuValueName), "Server");
    EXPECT_FALSE(Has(MachineRunKey, AutostartValueName));
    EXPECT_FALSE(Has(UserRunKey, AutostartValueName));
    EXPECT_NE(ConfigWindowHandle(), nullptr); // the window stays open

    // Settings changed afterwards are not stored: the program key is not made again.
    Click(kStartMinimizedCheck);
    EXPECT_EQ(RegistryKeyExists(ProgramKey, "."), 0);
}

} // namespace
} // namespace quarnel::test
