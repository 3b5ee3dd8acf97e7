#include "config/config_window.h"

#include "config/config_actions.h"
#include "config/config_rules.h"
#include "registry/registry.h"
#include "sessions/start_plan.h"
#include "vault/cipher.h"
#include "vault/master_check.h"
#include "vault/password_prompt.h"
#include "vault/stored_password.h"
#include "win/files.h"
#include "win/message_box.h"
#include "win/text.h"

#include <commdlg.h>

#include <algorithm>
#include <memory>

namespace quarnel {

namespace {

constexpr wchar_t kClassName[] = L"QuarnelConfigWindow";
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU;
constexpr char kSeparator[] = "---------------------";
constexpr char kChooseSession[] = "Bitte Session wählen:";
constexpr int kFixedSessionEntries = 2; // "Bitte Session wählen:" and the separator

constexpr char kNoMasterToDecrypt[] =
    "Bitte erst ein Masterpasswort eingegeben ,sonst kann ich nicht entschlüsseln";
constexpr char kNoMasterToStore[] =
    "Kein Masterpasswort eingegeben. Bitte ergänzen oder Passwortfunktion abschalten";
constexpr char kUnstorablePassword[] =
    "Dieses Passwort kann mit diesem Masterpasswort nicht vollständig gespeichert werden "
    "(verschlüsselt enthält es ein Null-Zeichen oder ist länger als 254 Zeichen). Es wurde "
    "nicht gespeichert; der bisher gespeicherte Wert bleibt erhalten.";
constexpr char kControlInPassword[] =
    "Das Passwort enthält Steuerzeichen (etwa einen Tabulator), die PuTTY nicht übergeben "
    "werden können. Es wurde nichts gespeichert.";
constexpr char kDeleteAllPasswordsQuestion[] =
    "Sollen wirklich alle gespeicherten Passwörter gelöscht werden?";
constexpr char kDeleteAllMenusQuestion[] = "Sollen wirklich alle Menüzuordnungen gelöscht werden?";
constexpr char kUninstallQuestion[] =
    "Es werden alle von Quarnel angelegten Registryeinträge (Einstellungen/Menüs/Passwörter) "
    "entfernt.\r(Die quarnel.exe bleibt erhalten und muß ggf. manuell gelöscht werden).\r"
    "Wirklich fortfahren?";
constexpr char kAutostartNotWritten[] =
    "Quarnel konnte weder für alle Benutzer noch für den aktuellen Benutzer in den Autostart "
    "eingetragen werden.";
constexpr char kAutostartNotRemoved[] =
    "Der Autostart-Eintrag von Quarnel konnte nicht entfernt werden.";
constexpr char kWrongMaster[] = "Das Masterpasswort stimmt nicht mit dem gespeicherten überein.";
constexpr char kMasterNotConfirmed[] =
    "Das Masterpasswort wurde nicht bestätigt. Das Passwort wurde nicht gespeichert.";
constexpr char kCheckNotStored[] =
    "Der Prüfwert des Masterpassworts konnte nicht gespeichert werden. Das Passwort wurde nicht "
    "gespeichert.";
constexpr char kMenuTooLong[] =
    "Der Menüname ist zu lang: höchstens 254 Zeichen können gespeichert und wieder gelesen "
    "werden. Es wurde nichts gespeichert.";
constexpr char kUninstallIncomplete[] =
    "Nicht alle Registryeinträge von Quarnel konnten entfernt werden (fehlen die Rechte?). "
    "Bitte die Deinstallation wiederholen oder die Einträge mit regedit entfernen.";
constexpr char kFound[] = "(Datei gefunden!. Alles OK!)";
constexpr char kNotFound[] = "(Angegebene Datei nicht gefunden. Bitte prüfen!)";
constexpr char kTooLong[] = "(Pfad zu lang. Bitte kürzer ablegen!)";
constexpr UINT_PTR kPathPauseTimer = 1;
constexpr UINT kPathPauseMs = 400;
constexpr UINT kPathCheckedMessage = WM_APP + 10;
// Numbers every check of the path in the run, so that an answer meant for a window that
// has gone can never pass for one of a window opened since.
unsigned pathChecksMade = 0;

struct PathCheck {
    std::wstring file;
    HWND window;
    unsigned check;
};

void CALLBACK RunPathCheck(PTP_CALLBACK_INSTANCE, void* context) {
    const std::unique_ptr<PathCheck> job(static_cast<PathCheck*>(context));
    PostMessageW(job->window, kPathCheckedMessage, job->check, IsReadableFile(job->file) ? 1 : 0);
}

using Row = GadgetRow<ConfigWindow>;
using W = ConfigWindow;

// Creation order is the tab order.
const Row kRows[] = {
    {{kSessionCombo, GadgetKind::ListCombo, 15, 290, 225, 210},
     kSelectionChanged,
     &W::OnSessionChosen},
    {{kMasterPasswordField, GadgetKind::MaskedField, 105, 140, 155, 20}},
    {{kMasterPasswordLabel, GadgetKind::Label, 20, 140, 80, 20, "Masterpasswort:"}},
    {{kSessionPasswordLabel, GadgetKind::Label, 505, 270, 175, 20, "Ggf. zugeordnetes Passwort"}},
    {{kSessionPasswordField, GadgetKind::MaskedField, 500, 290, 190, 20}},
    {{kSessionLabel, GadgetKind::Label, 15, 270, 175, 20, "Puttysession:"}},
    {{kSaveButton, GadgetKind::Button, 250, 320, 440, 35, "S P E I C H E R N "},
     kClicked,
     &W::OnSave},
    {{kDeletePasswordButton, GadgetKind::Button, 500, 365, 190, 30, "Dieses Passwort löschen"},
     kClicked,
     &W::OnDeletePassword},
    {{kMenuCombo, GadgetKind::EditCombo, 250, 290, 225, 210}},
    {{kMenuLabel, GadgetKind::Label, 255, 270, 175, 20, "Menuzuordnung für die Session"}},
    {{kPasswordFunctionCheck, GadgetKind::CheckBox, 20, 25, 220, 15,
      "Passwortfunktionalität einschalten"},
     kClicked,
     &W::OnPasswordFunction},
    {{kAssignmentFrame, GadgetKind::Frame, 5, 250, 705, 185, "Menü- und Passwortzuordnung"}},
    {{kPasswordFrame, GadgetKind::Frame, 5, 5, 270, 165, "Passwortfunktionalität"}},
    {{kGeneralFrame, GadgetKind::Frame, 285, 5, 425, 240,
      "Allgemeine Einstellungen (werden sofort, ohne speichern aktiv)"}},
    {{kQuitAfterLaunchCheck, GadgetKind::CheckBox, 305, 25, 375, 20,
      "Quarnel nach Starten einer Putty-Session gleich wieder beenden"},
     kClicked,
     &W::OnQuitAfterLaunch},
    {{kPuttyPathField, GadgetKind::TextField, 300, 205, 370, 20},
     kTextChanged,
     &W::OnPathEdited,
     kFocusLost,
     &W::OnPathLeft},
    {{kPuttyPathLabel, GadgetKind::Label, 300, 185, 150, 20, "Pfad und Dateiname zu Putty:"}},
    {{kDeleteMenuButton, GadgetKind::Button, 250, 365, 190, 30, "Diese Menuzuordnung löschen"},
     kClicked,
     &W::OnDeleteMenu},
    {{kRestartButton, GadgetKind::Button, 260, 460, 445, 40,
      "Einstellungen beenden und Quarnel neu starten zum einlesen der Konfig"},
     kClicked,
     &W::OnRestart},
    {{kDeleteAllMenusButton, GadgetKind::Button, 250, 405, 190, 20, "ALLE Menuzuordnungen löschen",
      0, "Alle gespeicherten Menüzuordungen sofort löschen"},
     kClicked,
     &W::OnDeleteAllMenus},
    {{kDeleteAllPasswordsButton, GadgetKind::Button, 500, 405, 190, 20,
      "ALLE gesp. Passwörter löschen", 0, "Alle gespeicherten Passwörter sofort löschen"},
     kClicked,
     &W::OnDeleteAllPasswords},
    {{kWarningTitleLabel, GadgetKind::Label, 20, 50, 220, 20, "A C H T U N G !", 1}},
    {{kWarningTextLabel, GadgetKind::Label, 20, 70, 245, 65,
      "Das Abspeichern von Passwörtern stellt ein hohes Sicherheitsrisiko dar. Bitte daher - "
      "wenn überhaupt - nur Passwörter unkritischer Systeme abspeichern! VERWENDUNG AUF "
      "EIGENE GEFAHR!"}},
    {{kStartMinimizedCheck, GadgetKind::CheckBox, 305, 65, 375, 25,
      "Quarnel immer minimiert starten (im Systray)"},
     kClicked,
     &W::OnStartMinimized},
    {{kUninstallButton, GadgetKind::Button, 10, 455, 155, 25, "Quarnel deinstallieren", 0,
      "Alle Quarnel-Einträge aus der Registry entfernen (exe-File bleibt erhalten)"},
     kClicked,
     &W::OnUninstall},
    {{kPuttyPathStatusLabel, GadgetKind::CentredLabel, 300, 225, 370, 15, "Bitte prüfen", 6}},
    {{kBrowseButton, GadgetKind::Button, 675, 205, 20, 20, "..."}, kClicked, &W::OnBrowse},
    {{kAutostartCheck, GadgetKind::CheckBox, 305, 90, 375, 21, "Quarnel beim Hochfahren starten"},
     kClicked,
     &W::OnAutostart},
    {{kMinimizeAfterLaunchCheck, GadgetKind::CheckBox, 305, 50, 375, 11,
      "Quarnel nach Starten einer Putty-Session minimieren (im Systray)"},
     kClicked,
     &W::OnMinimizeAfterLaunch},
    {{kSshTemplateCombo, GadgetKind::ListCombo, 460, 125, 200, 110, "", 0,
      "Hier kann die PuttySession für eine über die IP-Adresse +Rechte Maustaste geöffnete "
      "SSH-Verbindung eingestellt werden"},
     kSelectionChanged,
     &W::OnTemplateChosen},
    {{kSshTemplateLabel, GadgetKind::Label, 300, 130, 150, 20, "Session für SSH-Eingabefeld"}},
};

// A value of the program key, written and read back whole.
bool WriteSetting(const std::string& valueName, const std::string& text) {
    RegistryWrite(ProgramKey, valueName, text, kRegSz, ".");
    return RegistryReadWholeText(ProgramKey, valueName, ".") == text;
}

// A setting the user asked for, read back whole: false, with the user told, when it did
// not arrive. After the uninstall the program key is gone on purpose: nothing is stored
// then and nothing is said, as the user asked for exactly that.
bool StoreSetting(const std::string& valueName, const std::string& text) {
    if (WriteSetting(valueName, text)) {
        return true;
    }
    if (RegistryKeyExists(ProgramKey, ".")) {
        ShowMessage("Fehler:", "Die Einstellung \"" + valueName +
                                   "\" konnte nicht in der Registry gespeichert werden.");
    }
    return false;
}

std::string CannotKeep(const char* field) {
    return std::string("Das Feld \"") + field +
           "\" enthält Zeichen, die Quarnel nicht speichern kann. Es wurde nichts gespeichert.";
}

std::string NotWritten(const char* what, const std::string& keyName) {
    return std::string(what) + " der Session \"" + SessionDisplayName(keyName) +
           "\" konnte nicht gespeichert werden. Gibt es die Session in PuTTY noch?";
}

} // namespace

ConfigWindow::ConfigWindow(const WindowEnv& env, Settings& settings, MasterState& master,
                           const SessionCatalogue& catalogue, ConfigHost& host)
    : RowWindow(env), settings_(settings), master_(master), catalogue_(catalogue), host_(host) {}

std::span<const GadgetRow<ConfigWindow>> ConfigWindow::Rows() {
    return kRows;
}

bool ConfigWindow::Open() {
    const SIZE outer = OuterSizeForClient(kStyle, 0, 710, 512, WindowDpi(nullptr));
    if (!TopWindow::Open(kClassName, "Quarnel Konfiguration ", kStyle, 0,
                         {CentredOnScreen(outer), outer})) {
        return false;
    }
    CreateGadgets();
    Fill();
    // The tool tips come after the lists are filled. A tool tip follows the mouse through
    // a comctl32 subclass of its gadget, which looks its chain up in the gadget's window
    // properties three times for every message the gadget gets; under Wine each lookup
    // is a round trip to the wineserver (10 to 40 µs). Every entry is a message to its
    // combo box, so the SSH template list took up to 130 µs per session to fill.
    AddToolTips();
    ShowCentred(710, 512);
    FocusFirstControl();
    return true;
}

void ConfigWindow::Fill() {
    const HWND window = Handle();
    const Settings& s = settings_;
    SetGadgetChecked(window, kQuitAfterLaunchCheck, s.NachPuttyStartBeenden != 0);
    SetGadgetChecked(window, kStartMinimizedCheck, s.Startminimized != 0);
    SetGadgetChecked(window, kAutostartCheck, s.Autostart);
    SetGadgetChecked(window, kPasswordFunctionCheck, s.Passwortfunktionalitaet != 0);
    SetGadgetChecked(window, kMinimizeAfterLaunchCheck, s.NachPuttyStartMinimieren != 0);
    if (s.Passwortfunktionalitaet == 0) {
        EnableGadget(window, kSessionPasswordField, false);
        EnableGadget(window, kMasterPasswordField, false);
    }
    SetGadgetText(window, kPuttyPathField, s.PuttyPfad);
    CheckPuttyPath();

    FillMenuCombo("");
    SelectComboEntry(window, kMenuCombo, 0);

    // Thousands of sessions: room made at once and no drawing until all are in.
    const size_t count = catalogue_.allSessions.size();
    size_t bytes = 0;
    for (const std::string& keyName : catalogue_.allSessions) {
        bytes += (keyName.size() + 1) * sizeof(wchar_t);
    }
    for (const int combo : {kSessionCombo, kSshTemplateCombo}) {
        const HWND control = GetDlgItem(window, combo);
        SendMessageW(control, CB_INITSTORAGE, count + 2, bytes);
        SendMessageW(control, WM_SETREDRAW, FALSE, 0);
    }
    AddComboEntry(window, kSessionCombo, kChooseSession);
    AddComboEntry(window, kSessionCombo, kSeparator);
    AddComboEntry(window, kSshTemplateCombo, s.SSHSessionVorlage);
    {
        // The controls looked up once: every lookup is a trip to the window manager.
        QuietChanges quiet;
        const HWND sessions = GetDlgItem(window, kSessionCombo);
        const HWND templates = GetDlgItem(window, kSshTemplateCombo);
        for (const std::string& keyName : catalogue_.allSessions) {
            const std::wstring shown = Widen(SessionDisplayName(keyName), CodePage::System);
            SendMessageW(sessions, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
            SendMessageW(templates, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
        }
    }
    for (const int combo : {kSessionCombo, kSshTemplateCombo}) {
        SendMessageW(GetDlgItem(window, combo), WM_SETREDRAW, TRUE, 0);
    }
    SelectComboEntry(window, kSessionCombo, 0);
    SelectComboEntry(window, kSshTemplateCombo, 0);
    shownSessions_ = catalogue_.allSessions;
}

void ConfigWindow::FillMenuCombo(const std::string& first) {
    AddComboEntry(Handle(), kMenuCombo, first);
    AddComboEntry(Handle(), kMenuCombo, kSeparator);
    for (const std::string& menu : catalogue_.menuNames) {
        AddComboEntry(Handle(), kMenuCombo, menu);
    }
    AddComboEntry(Handle(), kMenuCombo, kSeparator);
}

void ConfigWindow::CatalogueChanged() {
    const HWND window = Handle();
    QuietChanges quiet;
    // Both session lists are edited where they differ, in one walk through the old and
    // the new list, both in catalogue order: one session more or less is a message or two
    // among thousands, and the picked entries stay picked.
    const std::vector<std::string>& now = catalogue_.allSessions;
    const HWND sessions = GetDlgItem(window, kSessionCombo);
    const HWND templates = GetDlgItem(window, kSshTemplateCombo);
    size_t i = 0, j = 0;
    WPARAM at = 0; // the position in the session list, after its fixed entries
    while (i < shownSessions_.size() || j < now.size()) {
        const bool gone =
            j == now.size() || (i < shownSessions_.size() && shownSessions_[i] != now[j] &&
                                !CatalogueLess(now[j], shownSessions_[i]));
        const bool added = !gone && (i == shownSessions_.size() || shownSessions_[i] != now[j]);
        if (gone) {
            SendMessageW(sessions, CB_DELETESTRING, at + kFixedSessionEntries, 0);
            SendMessageW(templates, CB_DELETESTRING, at + 1, 0);
            ++i;
        } else if (added) {
            const std::wstring shown = Widen(SessionDisplayName(now[j]), CodePage::System);
            const auto text = reinterpret_cast<LPARAM>(shown.c_str());
            SendMessageW(sessions, CB_INSERTSTRING, at + kFixedSessionEntries, text);
            SendMessageW(templates, CB_INSERTSTRING, at + 1, text);
            ++j;
            ++at;
        } else {
            ++i;
            ++j;
            ++at;
        }
    }
    shownSessions_ = now;
    // The menu list anew, the text typed into it and its first entry as they were.
    const std::wstring typed = WideGadgetText(window, kMenuCombo);
    const std::string first = ComboEntry(window, kMenuCombo, 0);
    SendMessageW(GetDlgItem(window, kMenuCombo), CB_RESETCONTENT, 0, 0);
    FillMenuCombo(first);
    SetWindowTextW(GetDlgItem(window, kMenuCombo), typed.c_str());
}

void ConfigWindow::CheckPuttyPath() {
    KillTimer(Handle(), kPathPauseTimer);
    const unsigned check = pathCheck_ = ++pathChecksMade;
    SetGadgetText(Handle(), kPuttyPathStatusLabel, "Bitte prüfen");
    // Opening a file on a network share can take the network's time-out: the test runs
    // beside the window, which takes its answer only if nothing was typed meanwhile. It
    // runs on the system's thread pool: two detached threads of the C++ library, one
    // ending as the next began, were seen to leave the next one never running, and the
    // label said "Bitte prüfen" for good.
    auto job = std::make_unique<PathCheck>(PathCheck{Widen(settings_.PuttyPfad), Handle(), check});
    if (TrySubmitThreadpoolCallback(RunPathCheck, job.get(), nullptr)) {
        job.release(); // RunPathCheck owns it now
    } else {
        PuttyPathChecked(check, IsReadableFile(job->file));
    }
}

void ConfigWindow::PuttyPathChecked(unsigned check, bool readable) {
    if (check != pathCheck_) {
        return;
    }
    const std::string& path = settings_.PuttyPfad;
    const char* status = kNotFound;
    if (readable) {
        // A path longer than the settings can be read back would be lost at the next
        // start while the label said all is well.
        status = ReadsBackWhole(path) ? kFound : kTooLong;
    }
    if (status == kFound) {
        StoreSetting("PuttyPfad", path);
    }
    SetGadgetText(Handle(), kPuttyPathStatusLabel, status);
}

LRESULT ConfigWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kPathPauseTimer) {
        CheckPuttyPath();
        return 0;
    }
    if (message == kPathCheckedMessage) {
        PuttyPathChecked(static_cast<unsigned>(wParam), lParam != 0);
        return 0;
    }
    return RowWindow::OnMessage(message, wParam, lParam);
}

std::optional<std::string> ConfigWindow::ChosenSession() const {
    const int index = ComboSelection(Handle(), kSessionCombo) - kFixedSessionEntries;
    if (index < 0 || static_cast<size_t>(index) >= shownSessions_.size()) {
        return std::nullopt;
    }
    return shownSessions_[static_cast<size_t>(index)];
}

bool ConfigWindow::ShowChosenPassword() {
    const HWND window = Handle();
    if (settings_.Passwortfunktionalitaet == 0) {
        return true;
    }
    const std::optional<std::string> master = ExactGadgetText(window, kMasterPasswordField);
    if (master && master->empty()) {
        ShowMessage("Fehler:", kNoMasterToDecrypt);
        SelectComboEntry(window, kSessionCombo, 0);
        SetGadgetText(window, kSessionPasswordField, "");
        return false;
    }
    if (!master) {
        ShowMessage("Fehler:", CannotKeep("Masterpasswort"));
        return false;
    }
    if (!MasterAccepted(*master)) {
        SetGadgetText(window, kSessionPasswordField, "");
        return true;
    }
    const std::optional<std::string> session = ChosenSession();
    const std::optional<std::string> stored =
        session ? ReadCipherText(SessionsKey + *session) : std::nullopt;
    SetGadgetText(window, kSessionPasswordField, PasswordDecrypt(stored.value_or(""), *master));
    return true;
}

void ConfigWindow::OnSessionChosen() {
    if (!ShowChosenPassword()) {
        return;
    }
    const std::optional<std::string> session = ChosenSession();
    SetGadgetText(Handle(), kMenuCombo,
                  session ? RegistryRead(SessionsKey + *session, MenuValueName, ".") : "");
}

bool ConfigWindow::MasterAccepted(const std::string& master) {
    if (!acceptedMaster_.empty() && master == acceptedMaster_) {
        return true;
    }
    switch (CheckMasterPassword(RegistryRead(ProgramKey, MasterCheckValueName, "."), master)) {
    case MasterCheck::Matches:
        acceptedMaster_ = master; // the check takes its time: once is enough
        return true;
    case MasterCheck::None:
        return true;
    case MasterCheck::Differs:
        ShowMessage("Fehler:", kWrongMaster);
        return false;
    case MasterCheck::Unreadable:
        ReportUnreadableCheck(master_);
        return false;
    }
    return false;
}

bool ConfigWindow::MasterConfirmed(const std::string& master) {
    if (master_.confirmed && master == master_.password) {
        return true; // what the start-up prompt took
    }
    WindowEnv alone = env_;
    alone.owner = nullptr;
    std::optional<std::string> again;
    {
        OtherWindowsDisabled modal(nullptr);
        again = AskMasterPassword(
            alone, [&master](const std::string& typed) { return typed == master; },
            "Masterpasswort zur Bestätigung wiederholen:");
    }
    BringToFront();
    if (!again) {
        ShowMessage("Fehler:", kMasterNotConfirmed);
    }
    return again.has_value();
}

bool ConfigWindow::StoreChosenPassword(const std::optional<std::string>& session,
                                       const std::string& password, const std::string& master) {
    if (!MasterAccepted(master)) {
        return true;
    }
    bool enciphered = false;
    const std::string cipherText = PasswordEncrypt(password, master, &enciphered);
    if (!enciphered) {
        return true; // the cipher has shown its box; the plain password is never stored
    }
    if (!ReadsBackWhole(cipherText)) {
        ShowMessage("Fehler:", kUnstorablePassword);
        return true;
    }
    if (!session) {
        return true;
    }
    // The first password stored under a master password fixes the check of it: only of
    // one the user has confirmed, or a typo would lock every stored password away.
    if (RegistryRead(ProgramKey, MasterCheckValueName, ".").empty()) {
        if (!MasterConfirmed(master)) {
            return true;
        }
        const std::optional<std::string> made = MakeMasterCheck(master);
        // One box says it all: the check, and so the password, was not stored.
        if (!made || !WriteSetting(MasterCheckValueName, *made)) {
            ShowMessage("Fehler:", kCheckNotStored);
            return true;
        }
    }
    if (!StoreCipherText(SessionsKey + *session, cipherText)) {
        ShowMessage("Fehler:", NotWritten("Das Passwort", *session));
        return false; // the menu would fail the same way: one box is enough
    }
    return true;
}

void ConfigWindow::StoreChosenMenu(const std::optional<std::string>& session,
                                   const std::string& text) {
    const HWND window = Handle();
    const std::string key = session ? SessionsKey + *session : std::string();
    std::vector<std::string> entries;
    for (int i = 0; i < ComboEntryCount(window, kMenuCombo); ++i) {
        entries.push_back(ComboEntry(window, kMenuCombo, i));
    }
    const MenuSave decision = DecideMenuSave(text, entries);
    if (decision == MenuSave::Delete) {
        if (session) {
            RegistryDeleteValue(key, MenuValueName, ".");
        }
        SetGadgetText(window, kMenuCombo, "");
        return;
    }
    if (decision == MenuSave::StoreAndAppend) {
        AddComboEntry(window, kMenuCombo, text);
    }
    if (session) {
        RegistryWrite(key, MenuValueName, text, kRegSz, ".");
        if (RegistryReadWholeText(key, MenuValueName, ".") != text) {
            ShowMessage("Fehler:", NotWritten("Die Menüzuordnung", *session));
        }
    }
    {
        QuietChanges quiet;
        const std::wstring wide = Widen(text);
        SendDlgItemMessageW(window, kMenuCombo, CB_DELETESTRING, 0, 0);
        SendDlgItemMessageW(window, kMenuCombo, CB_INSERTSTRING, 0,
                            reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SetGadgetText(window, kMenuCombo, text); // replacing the entry may touch the edit text
}

void ConfigWindow::OnSave() {
    const HWND window = Handle();
    const std::optional<std::string> session = ChosenSession();
    // Texts that cannot be kept exactly are refused before anything is stored.
    const std::optional<std::string> menu = ExactGadgetText(window, kMenuCombo);
    if (!menu) {
        ShowMessage("Fehler:", CannotKeep("Menuzuordnung für die Session"));
        return;
    }
    // A longer name would be stored and then read as none at the next start.
    if (!ReadsBackWhole(*menu)) {
        ShowMessage("Fehler:", kMenuTooLong);
        return;
    }
    if (settings_.Passwortfunktionalitaet != 0) {
        const std::optional<std::string> master = ExactGadgetText(window, kMasterPasswordField);
        const std::optional<std::string> password = ExactGadgetText(window, kSessionPasswordField);
        if (!master || !password) {
            ShowMessage("Fehler:",
                        CannotKeep(!master ? "Masterpasswort" : "Ggf. zugeordnetes Passwort"));
            return;
        }
        if (!IsPasswordSendable(*password)) {
            ShowMessage("Fehler:", kControlInPassword);
            return;
        }
        if (master->empty()) {
            ShowMessage("Fehler:", kNoMasterToStore);
        } else if (!StoreChosenPassword(session, *password, *master)) {
            return;
        }
    }
    StoreChosenMenu(session, *menu);
}

void ConfigWindow::OnDeletePassword() {
    if (const std::optional<std::string> session = ChosenSession()) {
        RegistryDeleteValue(SessionsKey + *session, PasswordValueName, ".");
    }
    SetGadgetText(Handle(), kSessionPasswordField, "");
}

void ConfigWindow::OnDeleteAllPasswords() {
    if (ShowMessage("Passwörter Löschen", kDeleteAllPasswordsQuestion, MB_YESNO) == IDYES) {
        DeleteFromEverySession(PasswordValueName);
        RegistryDeleteValue(ProgramKey, MasterCheckValueName, ".");
    }
}

void ConfigWindow::OnPasswordFunction() {
    const HWND window = Handle();
    const bool on = IsGadgetChecked(window, kPasswordFunctionCheck);
    StoreSetting("Passwortfunktionalitaet", on ? "1" : "0");
    settings_.Passwortfunktionalitaet = on ? 1 : 0;
    EnableGadget(window, kMasterPasswordField, on);
    EnableGadget(window, kSessionPasswordField, on);
    if (on) {
        SelectComboEntry(window, kSessionCombo, 0);
        SetGadgetText(window, kSessionPasswordField, "");
        SetGadgetText(window, kMasterPasswordField, "");
    }
}

void ConfigWindow::GeneralOption(int gadget, const char* valueName, int8_t Settings::*field) {
    const bool on = IsGadgetChecked(Handle(), gadget);
    StoreSetting(valueName, on ? "1" : "0");
    settings_.*field = on ? 1 : 0;
}

void ConfigWindow::OnQuitAfterLaunch() {
    GeneralOption(kQuitAfterLaunchCheck, "NachPuttyStartBeenden", &Settings::NachPuttyStartBeenden);
}

void ConfigWindow::OnMinimizeAfterLaunch() {
    GeneralOption(kMinimizeAfterLaunchCheck, "NachPuttyStartMinimieren",
                  &Settings::NachPuttyStartMinimieren);
}

void ConfigWindow::OnStartMinimized() {
    GeneralOption(kStartMinimizedCheck, "Startminimized", &Settings::Startminimized);
}

void ConfigWindow::OnAutostart() {
    const HWND window = Handle();
    const bool wanted = IsGadgetChecked(window, kAutostartCheck);
    const bool stands = SwitchAutostart(wanted, ProgramFileName());
    if (stands != wanted) {
        ShowMessage("Fehler", wanted ? kAutostartNotWritten : kAutostartNotRemoved);
        SetGadgetChecked(window, kAutostartCheck, stands);
    }
    settings_.Autostart = stands;
}

void ConfigWindow::OnPathEdited() {
    settings_.PuttyPfad = GadgetText(Handle(), kPuttyPathField);
    // Checked when typing pauses, not at every keystroke.
    pathCheck_ = ++pathChecksMade;
    SetTimer(Handle(), kPathPauseTimer, kPathPauseMs, nullptr);
}

void ConfigWindow::OnPathLeft() {
    if (KillTimer(Handle(), kPathPauseTimer)) {
        CheckPuttyPath();
    }
}

void ConfigWindow::OnBrowse() {
    const HWND window = Handle();
    const BrowsePreset preset = SplitBrowsePreset(settings_.PuttyPfad);
    const std::wstring folder = Widen(preset.folder);
    const std::wstring title = Widen("Bitte Putty.exe Datei wählen:");
    std::wstring file = Widen(preset.fileName);
    file.resize(std::max<size_t>(file.size() + 1, 32768), L'\0');

    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = window;
    request.lpstrFilter = L"Programm (*.exe)\0*.exe\0";
    request.nFilterIndex = 1;
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    request.lpstrTitle = title.c_str();
    request.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    bool chosen = false;
    {
        OtherWindowsDisabled modal(window);
        chosen = GetOpenFileNameW(&request) != 0;
    }
    if (!chosen) {
        return; // cancelled: the path stays what it was
    }
    const std::optional<std::string> path = NarrowExact(file.c_str());
    if (!path) {
        ShowMessage("Fehler:", CannotKeep("Pfad und Dateiname zu Putty"));
        return;
    }
    settings_.PuttyPfad = *path;
    SetGadgetText(window, kPuttyPathField, settings_.PuttyPfad);
    CheckPuttyPath();
}

void ConfigWindow::OnTemplateChosen() {
    const int index = ComboSelection(Handle(), kSshTemplateCombo);
    if (index < 0) {
        return;
    }
    settings_.SSHSessionVorlage = ComboEntry(Handle(), kSshTemplateCombo, index);
    StoreSetting("SSHSessionVorlage", settings_.SSHSessionVorlage);
}

void ConfigWindow::OnDeleteMenu() {
    if (const std::optional<std::string> session = ChosenSession()) {
        RegistryDeleteValue(SessionsKey + *session, MenuValueName, ".");
    }
    SetGadgetText(Handle(), kMenuCombo, "");
}

void ConfigWindow::OnDeleteAllMenus() {
    if (ShowMessage("Menues Löschen", kDeleteAllMenusQuestion, MB_YESNO) == IDYES) {
        DeleteFromEverySession(MenuValueName);
    }
}

void ConfigWindow::OnRestart() {
    host_.RestartProgram();
}

void ConfigWindow::OnUninstall() {
    if (ShowMessage("Quarnel deinstallieren", kUninstallQuestion, MB_YESNO) == IDYES) {
        if (!RemoveProgramEntries()) {
            ShowMessage("Fehler:", kUninstallIncomplete);
        }
    }
}

} // namespace quarnel
