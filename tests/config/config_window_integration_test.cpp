// The configuration window opened inside the test process and worked as a user works it;
// checked in the window, in the settings and in the registry.
#include "config/config_actions.h"
#include "config/config_window.h"
#include "win/files.h"
#include "registry/registry.h"
#include "testkit/fake_putty_log.h"
#include "testkit/config_window_harness.h"
#include "testkit/message_boxes.h"
#include "testkit/quarnel_setup.h"
#include "testkit/ui_driver.h"
#include "vault/cipher.h"
#include "vault/master_check.h"
#include "win/text.h"

#include <gtest/gtest.h>

#include <tuple>

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
constexpr int kMail = 2, kWeb = 3, kZeta = 4; // entries of the session combo after Seed()

TEST_F(ConfigWindowTest, EveryControlHasItsPlaceSizeTextAndFont) {
    const struct {
        int number, x, y, w, h; // h 0: a combo, whose height includes the list
        const char* text;       // nullptr: set by the fill
    } cases[] = {
        {0, 15, 290, 225, 0, nullptr},
        {1, 105, 140, 155, 20, ""},
        {2, 20, 140, 80, 20, "Masterpasswort:"},
        {3, 505, 270, 175, 20, "Ggf. zugeordnetes Passwort"},
        {4, 500, 290, 190, 20, ""},
        {5, 15, 270, 175, 20, "Puttysession:"},
        {6, 250, 320, 440, 35, "S P E I C H E R N "},
        {7, 500, 365, 190, 30, "Dieses Passwort löschen"},
        {8, 250, 290, 225, 0, nullptr},
        {9, 255, 270, 175, 20, "Menuzuordnung für die Session"},
        {10, 20, 25, 220, 15, "Passwortfunktionalität einschalten"},
        {11, 5, 250, 705, 185, "Menü- und Passwortzuordnung"},
        {12, 5, 5, 270, 165, "Passwortfunktionalität"},
        {13, 285, 5, 425, 240, "Allgemeine Einstellungen (werden sofort, ohne speichern aktiv)"},
        {14, 305, 25, 375, 20, "Quarnel nach Starten einer Putty-Session gleich wieder beenden"},
        {15, 300, 205, 370, 20, nullptr},
        {16, 300, 185, 150, 20, "Pfad und Dateiname zu Putty:"},
        {17, 250, 365, 190, 30, "Diese Menuzuordnung löschen"},
        {18, 260, 460, 445, 40,
         "Einstellungen beenden und Quarnel neu starten zum einlesen der Konfig"},
        {19, 250, 405, 190, 20, "ALLE Menuzuordnungen löschen"},
        {20, 500, 405, 190, 20, "ALLE gesp. Passwörter löschen"},
        {21, 20, 50, 220, 20, "A C H T U N G !"},
        {22, 20, 70, 245, 65,
         "Das Abspeichern von Passwörtern stellt ein hohes Sicherheitsrisiko dar. Bitte daher - "
         "wenn überhaupt - nur Passwörter unkritischer Systeme abspeichern! VERWENDUNG AUF "
         "EIGENE GEFAHR!"},
        {23, 305, 65, 375, 25, "Quarnel immer minimiert starten (im Systray)"},
        {27, 10, 455, 155, 25, "Quarnel deinstallieren"},
        {36, 300, 225, 370, 15, nullptr},
        {37, 675, 205, 20, 20, "..."},
        {38, 305, 90, 375, 21, "Quarnel beim Hochfahren starten"},
        {39, 305, 50, 375, 11, "Quarnel nach Starten einer Putty-Session minimieren (im Systray)"},
        {40, 460, 125, 200, 0, nullptr},
        {41, 300, 130, 150, 20, "Session für SSH-Eingabefeld"},
    };
    const Window window = Open();
    const UINT dpi = WindowDpi(window.Handle());
    const auto at = [dpi](int pixels) { return MulDiv(pixels, int(dpi), 96); };
    EXPECT_EQ(window.Text(), "Quarnel Konfiguration ");
    EXPECT_EQ(GetWindowLongW(window.Handle(), GWL_STYLE) &
                  (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(std::tuple(window.ClientRect().right, window.ClientRect().bottom),
              std::tuple(at(710), at(512)));
    HWND child = GetWindow(window.Handle(), GW_CHILD); // creation order is the tab order
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        const Window control(std::exchange(child, GetWindow(child, GW_HWNDNEXT)));
        ASSERT_EQ(control.Id(), c.number);
        RECT r = control.WindowRect();
        MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(std::tuple(r.left, r.top, r.right - r.left, c.h ? r.bottom - r.top : 0),
                  std::tuple(at(c.x), at(c.y), at(c.w), at(c.h)));
        EXPECT_EQ(control.Text(), c.text ? c.text : control.Text());
        EXPECT_TRUE(control.IsVisible());
        const int font = c.number == 21 ? 1 : c.number == 36 ? 6 : 0;
        EXPECT_EQ(HFONT(control.Send(WM_GETFONT, 0, 0)), fonts_.Get(font, dpi));
    }
    // Passwords are masked; only the menu combo takes typed names.
    const int styles[][3] = {{1, ES_PASSWORD, ES_PASSWORD},
                             {4, ES_PASSWORD, ES_PASSWORD},
                             {0, 3, CBS_DROPDOWNLIST},
                             {8, 3, CBS_DROPDOWN},
                             {40, 3, CBS_DROPDOWNLIST}};
    for (const auto& [number, mask, bits] : styles) {
        EXPECT_EQ(GetWindowLongW(Control(number).Handle(), GWL_STYLE) & mask, bits) << number;
    }
}

TEST_F(ConfigWindowTest, TheListsAreFilledFromTheCatalogue) {
    const struct {
        std::vector<std::pair<std::string, std::string>> sessions; // key name, menu
        Texts sessionList, templateList, menuList;
    } cases[] = {
        {{}, {"Bitte Session wählen:", kSep}, {"Default Settings"}, {"", kSep, kSep}},
        {{{"Default%20Settings", ""},
          {"mail", "Server"},
          {"web%20server", "Alpha"},
          {"Zeta%2Fx", "Server"}},
         {"Bitte Session wählen:", kSep, "Default Settings", "mail", "web server", "Zeta/x"},
         {"Default Settings", "Default Settings", "mail", "web server", "Zeta/x"},
         {"", kSep, "Alpha", "Server", kSep}},
    };
    for (const auto& c : cases) {
        for (const auto& [keyName, menu] : c.sessions) {
            setup_.Session(keyName, menu);
        }
        catalogue_ = LoadSessionCatalogue();
        Open();
        EXPECT_EQ(Control(kSessionCombo).ComboEntries(), c.sessionList);
        EXPECT_EQ(Control(kSshTemplateCombo).ComboEntries(), c.templateList);
        EXPECT_EQ(Control(kMenuCombo).ComboEntries(), c.menuList);
        EXPECT_EQ(Control(kSessionCombo).ComboSelection() + Control(kMenuCombo).ComboSelection() +
                      Control(kSshTemplateCombo).ComboSelection(),
                  0);
        if (c.templateList.size() > 1) { // the template is stored as shown, with a blank
            Control(kSshTemplateCombo).PickComboEntry("web server");
            EXPECT_EQ(Value(ProgramKey, "SSHSessionVorlage"), "web server");
            EXPECT_EQ(settings_.SSHSessionVorlage, "web server");
        }
        Close();
    }
}

// Also what switching the password function does to the fields and the picked session.
TEST_F(ConfigWindowTest, TheBoxesShowTheSettingsAndAnOptionIsStoredAtOnce) {
    const int8_t cases[][5] = {{1, 0, 0, 1, 1}, {0, 1, 0, 1, 0}, {0, 0, 1, 0, 1}};
    const int boxes[] = {kQuitAfterLaunchCheck, kMinimizeAfterLaunchCheck, kStartMinimizedCheck,
                         kPasswordFunctionCheck, kAutostartCheck};
    const char* names[] = {"NachPuttyStartBeenden", "NachPuttyStartMinimieren", "Startminimized",
                           "Passwortfunktionalitaet", "SSHSessionVorlage"};
    Settings& s = settings_;
    Seed();
    for (const auto& c : cases) {
        std::tie(s.NachPuttyStartBeenden, s.NachPuttyStartMinimieren, s.Startminimized,
                 s.Passwortfunktionalitaet, s.Autostart) =
            std::tuple(c[0], c[1], c[2], c[3], c[4] != 0);
        Open();
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(Control(boxes[i]).IsChecked(), c[i] != 0) << boxes[i];
            // The fill's own ticks and selections run no handler that would store them.
            EXPECT_EQ(Value(ProgramKey, names[i]), "-") << names[i];
        }
        EXPECT_EQ(Value(MachineRunKey, AutostartValueName), "-");
        for (int i = 0; i < 4; ++i) {
            Put(kMasterPasswordField, "m");
            Control(kSessionCombo).PickComboEntry(kZeta);
            Put(kSessionPasswordField, "p");
            Control(boxes[i]).Click();
            EXPECT_EQ(Value(ProgramKey, names[i]), c[i] ? "0" : "1") << names[i];
        }
        EXPECT_EQ(std::tuple(s.NachPuttyStartBeenden, s.NachPuttyStartMinimieren, s.Startminimized,
                             s.Passwortfunktionalitaet),
                  std::tuple(int8_t(!c[0]), int8_t(!c[1]), int8_t(!c[2]), int8_t(!c[3])));
        const bool on = !c[3]; // switching on empties the fields and the pick
        EXPECT_EQ(Control(kMasterPasswordField).IsEnabled() +
                      Control(kSessionPasswordField).IsEnabled(),
                  on ? 2 : 0);
        EXPECT_EQ(Control(kMasterPasswordField).Text() + Control(kSessionPasswordField).Text(),
                  on ? "" : "mp");
        EXPECT_EQ(Control(kSessionCombo).ComboSelection(), on ? 0 : kZeta);
        for (const char* name : names) {
            RegistryDeleteValue(ProgramKey, name, ".");
        }
        Close();
    }
}

// The stand-in putty.exe is the readable file; its folder and the text one letter
// longer are not.
TEST_F(ConfigWindowTest, TypingThePathStoresTheLastTextThatNamedAFile) {
    const std::string putty = Narrow(FakePuttyPath()), typed = putty + "x";
    RegistryWrite(ProgramKey, "PuttyPfad", "vorher", kRegSz, ".");
    Open();
    for (size_t length = 1; length <= typed.size(); ++length) {
        const std::string text = typed.substr(0, length);
        SCOPED_TRACE(text);
        Control(kPuttyPathField).Send(WM_CHAR, Widen(typed.substr(length - 1, 1))[0], 1);
        EXPECT_EQ(Control(kPuttyPathField).Text(), text);
        EXPECT_EQ(settings_.PuttyPfad, text);
        EXPECT_EQ(Control(kPuttyPathStatusLabel).Text(),
                  text == putty ? "(Datei gefunden!. Alles OK!)"
                                : "(Angegebene Datei nicht gefunden. Bitte prüfen!)");
        EXPECT_EQ(Value(ProgramKey, "PuttyPfad"), length < putty.size() ? "vorher" : putty);
    }
}

// A path longer than a setting can be read back is found but not stored: redundant
// folder steps make a 299-character name of the stand-in.
TEST_F(ConfigWindowTest, APathTooLongToReadBackIsNotStored) {
    const std::wstring putty = FakePuttyPath();
    const size_t slash = putty.rfind(L'\\');
    std::wstring path = putty.substr(0, slash + 1);
    const size_t padding = 299 - putty.size();
    if (padding % 2 != 0) {
        path += L"x\\..\\"; // five characters that name the same folder
    }
    while (path.size() + putty.size() - slash - 1 < 299) {
        path += L".\\";
    }
    path += putty.substr(slash + 1);
    ASSERT_EQ(path.size(), 299u);
    RegistryWrite(ProgramKey, "PuttyPfad", "vorher", kRegSz, ".");
    Open();
    SetWindowTextW(Control(kPuttyPathField).Handle(), path.c_str());
    EXPECT_EQ(Control(kPuttyPathStatusLabel).Text(), "(Pfad zu lang. Bitte kürzer ablegen!)");
    EXPECT_EQ(Value(ProgramKey, "PuttyPfad"), "vorher");
}

// What the user typed is stored exactly or not at all, and a session whose key has gone
// is named rather than quietly not written.
TEST_F(ConfigWindowTest, SavingRefusesWhatCannotBeStoredAndSaysSo) {
    const std::string cannot = "\" enthält Zeichen, die Quarnel nicht speichern kann. Es wurde "
                               "nichts gespeichert.|OK";
    const struct {
        std::wstring password, menu;
        bool keyGone;
        std::string box;
    } cases[] = {
        {L"za\u017c\u00f3\u0142\u0107", L"Neu", false,
         "Fehler:|Das Feld \"Ggf. zugeordnetes Passwort" + cannot},
        {L"neu", L"\u041c\u0435\u043d\u044e", false,
         "Fehler:|Das Feld \"Menuzuordnung für die Session" + cannot},
        {L"tab\there", L"Neu", false,
         "Fehler:|Das Passwort enthält Steuerzeichen (etwa einen Tabulator), die PuTTY nicht "
         "übergeben werden können. Es wurde nichts gespeichert.|OK"},
        {L"neu", L"Neu", true,
         "Fehler:|Das Passwort der Session \"web server\" konnte nicht gespeichert werden. "
         "Gibt es die Session in PuTTY noch?|OK"},
    };
    Seed();
    settings_.Passwortfunktionalitaet = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        RegistryWrite(Key("web%20server"), PasswordValueName, PasswordEncrypt("alt", "m"), kRegSz,
                      ".");
        Open();
        Put(kMasterPasswordField, "m");
        Control(kSessionCombo).PickComboEntry(kWeb);
        if (c.keyGone) {
            DeleteTree(Key("web%20server"));
        }
        SetWindowTextW(Control(kSessionPasswordField).Handle(), c.password.c_str());
        SetWindowTextW(Control(kMenuCombo).Handle(), c.menu.c_str());
        Control(kSaveButton).Click();
        EXPECT_EQ(Boxes::Take(), Texts{c.box});
        if (!c.keyGone) {
            EXPECT_EQ(PasswordDecrypt(Value(Key("web%20server"), PasswordValueName), "m"), "alt");
            EXPECT_EQ(Value(Key("web%20server"), MenuValueName), "-");
        }
        Close();
    }
    EXPECT_FALSE(RegistryKeyExists(Key("web%20server"), "."));
}

// Opening and closing the window any number of times leaves the one tool tip control
// with the tools it had.
TEST_F(ConfigWindowTest, ClosingTheWindowTakesItsToolTipsAlong) {
    for (int i = 0; i < 3; ++i) {
        Open();
        EXPECT_EQ(toolTips_.Count(), 4);
        Close();
        EXPECT_EQ(toolTips_.Count(), 0);
    }
}

TEST_F(ConfigWindowTest, SavingAndDeletingMenuAssignments) {
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
    Seed();
    Open();
    for (const auto& c : steps) {
        SCOPED_TRACE(c.typed);
        Control(kSessionCombo).PickComboEntry(c.entry);
        Put(kMenuCombo, c.typed);
        Control(c.button).Click();
        EXPECT_EQ(Value(Key(c.keyName), MenuValueName), c.stored);
        const Texts entries = Control(kMenuCombo).ComboEntries();
        EXPECT_EQ(std::tuple(entries.front(), entries.back(), entries.size()),
                  std::tuple(c.first, c.last, c.count));
        EXPECT_EQ(Control(kMenuCombo).Text(), c.button == kSaveButton ? c.typed : "");
    }
    EXPECT_EQ(Value(Key("web%20server"), MenuValueName), "Neu");
    EXPECT_FALSE(RegistryKeyExists(Key("Bitte%20Session%20wählen:"), "."));
}

// What picking web server, saving and deleting its password do with the password that
// is stored under the master password "m"; the menu step follows each of them.
TEST_F(ConfigWindowTest, PasswordStepsOfPickingSavingAndDeleting) {
    const std::string longest(255, 'a');
    const struct {
        char action; // 'p'ick, 's'ave, 'd'elete the password
        bool on;     // the password function
        std::string master, typed, box;
        const char* stored; // what the stored value deciphers to; nullptr: no value
        std::string field;  // the password field afterwards
        const char* menu;   // the menu combo's text afterwards
    } cases[] = {
        {'p', true, "m", "neu", "", "alt", "alt", "Web"},
        {'p', true, "", "neu",
         "Fehler:|Bitte erst ein Masterpasswort eingegeben ,sonst kann ich nicht entschlüsseln|OK",
         "alt", "", "getippt"},
        {'p', false, "", "neu", "", "alt", "neu", "Web"},
        {'s', true, "m", "neu", "", "neu", "neu", "getippt"},
        {'s', true, "", "neu",
         "Fehler:|Kein Masterpasswort eingegeben. Bitte ergänzen oder Passwortfunktion "
         "abschalten|OK",
         "alt", "neu", "getippt"},
        {'s', true, "m", longest,
         "Fehler:|Dieses Passwort kann mit diesem Masterpasswort nicht vollständig gespeichert "
         "werden (verschlüsselt enthält es ein Null-Zeichen oder ist länger als 254 Zeichen). Es "
         "wurde nicht gespeichert; der bisher gespeicherte Wert bleibt erhalten.|OK",
         "alt", longest, "getippt"},
        {'s', false, "", "neu", "", "alt", "neu", "getippt"},
        {'d', false, "", "neu", "", nullptr, "", "getippt"},
    };
    Seed();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.action << c.on << c.master << c.typed.size());
        RegistryWrite(Key("web%20server"), PasswordValueName, PasswordEncrypt("alt", "m"), kRegSz,
                      ".");
        RegistryWrite(Key("web%20server"), MenuValueName, "Web", kRegSz, ".");
        settings_.Passwortfunktionalitaet = c.on ? 1 : 0;
        Open();
        Put(kMasterPasswordField, "m");
        if (c.action != 'p') {
            Control(kSessionCombo).PickComboEntry(kWeb);
        }
        Put(kMasterPasswordField, c.master);
        Put(kSessionPasswordField, c.typed);
        Put(kMenuCombo, "getippt");
        if (c.action == 'p') {
            Control(kSessionCombo).PickComboEntry(kWeb);
        } else {
            Control(c.action == 's' ? kSaveButton : kDeletePasswordButton).Click();
        }
        EXPECT_EQ(Boxes::Take(), c.box.empty() ? Texts{} : Texts{c.box});
        const std::string stored = Value(Key("web%20server"), PasswordValueName);
        EXPECT_EQ(stored == "-" ? "-" : PasswordDecrypt(stored, "m"), c.stored ? c.stored : "-");
        EXPECT_EQ(Control(kSessionPasswordField).Text(), c.field);
        EXPECT_EQ(Control(kMenuCombo).Text(), c.menu);
        EXPECT_EQ(Value(Key("web%20server"), MenuValueName), c.action == 's' ? "getippt" : "Web");
        // A refused pick goes back to the first entry.
        EXPECT_EQ(Control(kSessionCombo).ComboSelection(), c.field.empty() && c.on ? 0 : kWeb);
        Close();
    }
}

// The first password stored under a master password fixes its check; a master password
// that does not match shows and stores nothing; deleting all passwords drops the check.
TEST_F(ConfigWindowTest, AMasterPasswordThatDoesNotMatchTheStoredCheckIsRefused) {
    const std::string wrong = "Fehler:|Das Masterpasswort stimmt nicht mit dem gespeicherten "
                              "überein.|OK";
    Seed();
    settings_.Passwortfunktionalitaet = 1;
    Open();
    Put(kMasterPasswordField, "m");
    Control(kSessionCombo).PickComboEntry(kWeb);
    Put(kSessionPasswordField, "erstes");
    Control(kSaveButton).Click();
    EXPECT_EQ(CheckMasterPassword(Value(ProgramKey, MasterCheckValueName), "m"),
              MasterCheck::Matches);
    Put(kMasterPasswordField, "x");
    Control(kSessionCombo).PickComboEntry(kWeb);
    EXPECT_EQ(Boxes::Take(), Texts{wrong});
    EXPECT_EQ(Control(kSessionPasswordField).Text(), "");
    Put(kSessionPasswordField, "zweites");
    Control(kSaveButton).Click();
    EXPECT_EQ(Boxes::Take(), Texts{wrong});
    EXPECT_EQ(PasswordDecrypt(Value(Key("web%20server"), PasswordValueName), "m"), "erstes");
    Boxes::Plan(IDYES);
    Control(kDeleteAllPasswordsButton).Click();
    EXPECT_EQ(Boxes::Take(), Texts{kAskPasswords});
    EXPECT_EQ(Value(ProgramKey, MasterCheckValueName), "-");
}

TEST_F(ConfigWindowTest, DeletingEverythingAsksFirst) {
    const struct {
        int button, answer;
        std::string box;
        bool passwords, menus, program; // what stays
    } cases[] = {
        {kDeleteAllPasswordsButton, IDNO, kAskPasswords, true, true, true},
        {kDeleteAllPasswordsButton, IDYES, kAskPasswords, false, true, true},
        {kDeleteAllMenusButton, IDNO, kAskMenus, true, true, true},
        {kDeleteAllMenusButton, IDYES, kAskMenus, true, false, true},
        {kUninstallButton, IDNO, kAskUninstall, true, true, true},
        {kUninstallButton, IDYES, kAskUninstall, false, false, false},
    };
    Seed();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box + std::to_string(c.answer));
        for (const std::string& keyName : catalogue_.allSessions) {
            RegistryWrite(Key(keyName), PasswordValueName, "pw", kRegSz, ".");
            RegistryWrite(Key(keyName), MenuValueName, "Menü", kRegSz, ".");
            RegistryWrite(Key(keyName), "HostName", "h", kRegSz, ".");
        }
        RegistryWrite(MachineRunKey, AutostartValueName, "x", kRegSz, ".");
        RegistryWrite(UserRunKey, AutostartValueName, "x", kRegSz, ".");
        Open();
        Boxes::Plan(c.answer);
        Control(c.button).Click();
        EXPECT_EQ(Boxes::Take(), Texts{c.box});
        for (const std::string& keyName : catalogue_.allSessions) {
            EXPECT_EQ(Value(Key(keyName), PasswordValueName), c.passwords ? "pw" : "-");
            EXPECT_EQ(Value(Key(keyName), MenuValueName), c.menus ? "Menü" : "-");
            EXPECT_EQ(Value(Key(keyName), "HostName"), "h");
        }
        EXPECT_EQ(RegistryKeyExists(ProgramKey, ".") != 0, c.program);
        EXPECT_EQ(Value(MachineRunKey, AutostartValueName) + Value(UserRunKey, AutostartValueName),
                  c.program ? "xx" : "--");
        Close();
    }
}

TEST_F(ConfigWindowTest, AutostartFallsBackToTheUsersRunKeyAndReportsWhatItCannotDo) {
    const std::string file = Narrow(ProgramFileName()), quoted = "\"" + file + "\"";
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
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.before << c.refuseMachine << c.refuseUser);
        for (const std::string& key : {MachineRunKey, UserRunKey}) {
            c.before ? RegistryWrite(key, AutostartValueName, "x", kRegSz, ".")
                     : RegistryDeleteValue(key, AutostartValueName, ".");
        }
        settings_.Autostart = c.before;
        Open();
        {
            const RefusedRunKey machine(HKEY_LOCAL_MACHINE, c.refuseMachine);
            const RefusedRunKey user(HKEY_CURRENT_USER, c.refuseUser);
            Control(kAutostartCheck).Click();
        }
        EXPECT_EQ(Boxes::Take(), c.box.empty() ? Texts{} : Texts{c.box});
        EXPECT_EQ(Value(MachineRunKey, AutostartValueName), c.machine);
        EXPECT_EQ(Value(UserRunKey, AutostartValueName), c.user);
        EXPECT_EQ(std::tuple(Control(kAutostartCheck).IsChecked(), settings_.Autostart),
                  std::tuple(c.ticked, c.ticked));
        Close();
    }
}

// A program path of 253 characters and more makes a Run value longer than a setting
// reads back; it is verified whole, and one that cannot be is not left behind.
TEST_F(ConfigWindowTest, ALongAutostartValueIsVerifiedWhole) {
    const std::string runValue = "\"C:\\" + std::string(280, 'q') + "\\quarnel.exe\"";
    EXPECT_TRUE(SwitchAutostart(true, runValue));
    EXPECT_EQ(RegistryReadWholeText(MachineRunKey, AutostartValueName, "."), runValue);
    EXPECT_FALSE(SwitchAutostart(false, runValue));
    {
        const RefusedRunKey machine(HKEY_LOCAL_MACHINE, true);
        const RefusedRunKey user(HKEY_CURRENT_USER, true);
        EXPECT_FALSE(SwitchAutostart(true, runValue));
    }
    EXPECT_EQ(Value(MachineRunKey, AutostartValueName) + Value(UserRunKey, AutostartValueName),
              "--");
}

} // namespace
} // namespace quarnel::test
