#include "config/config_actions.h"

#include "app/controls.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/settings.h"
#include "app/startup.h"
#include "config/config_rules.h"
#include "config/config_window.h"
#include "registry/registry.h"
#include "sessions/catalogue.h"
#include "vault/cipher.h"
#include "win/handles.h"
#include "win/message_box.h"
#include "win/text.h"

#include <commdlg.h>
#include <shellapi.h>

namespace quarnel {

namespace {

constexpr char kNoMasterToDecrypt[] =
    "Bitte erst ein Masterpasswort eingegeben ,sonst kann ich nicht entschlüsseln";
constexpr char kNoMasterToStore[] =
    "Kein Masterpasswort eingegeben. Bitte ergänzen oder Passwortfunktion abschalten";
constexpr char kUnstorablePassword[] =
    "Dieses Passwort kann mit diesem Masterpasswort nicht vollständig gespeichert werden "
    "(verschlüsselt enthält es ein Null-Zeichen oder ist länger als 254 Zeichen). Es wurde "
    "nicht gespeichert; der bisher gespeicherte Wert bleibt erhalten.";
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

bool PasswordFunctionOn() {
    return TheProgram().settings.Passwortfunktionalitaet != 0;
}

std::string ChosenSessionKey(HWND window) {
    const int index = ComboSelection(window, kSessionCombo);
    return index < 0 ? std::string() : SessionKeyOfEntry(ComboEntry(window, kSessionCombo, index));
}

void WriteSetting(const std::string& valueName, const std::string& text) {
    RegistryWrite(ProgramKey, valueName, text, kRegSz, ".");
}

void DeleteFromEverySession(const std::vector<std::string>& allSessions,
                            const std::string& valueName) {
    for (const std::string& keyName : allSessions) {
        RegistryDeleteValue(SessionsKey + keyName, valueName, ".");
    }
}

std::wstring ProgramFileNameWide() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length < name.size()) {
            name.resize(length);
            return name;
        }
        name.resize(name.size() * 2);
    }
}

std::wstring CurrentDirectoryWide() {
    std::wstring directory(GetCurrentDirectoryW(0, nullptr), L'\0');
    directory.resize(GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data()));
    return directory;
}

// The file requester disables only its owner; the program's other windows must wait
// for it too, a main window hidden in the tray included, as a task-modal box does.
class OtherWindowsDisabled {
  public:
    explicit OtherWindowsDisabled(HWND owner) : owner_(owner) {
        EnumThreadWindows(GetCurrentThreadId(), Disable, reinterpret_cast<LPARAM>(this));
    }
    ~OtherWindowsDisabled() {
        for (HWND window : disabled_) {
            EnableWindow(window, TRUE);
        }
    }
    OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
    OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

  private:
    static BOOL CALLBACK Disable(HWND window, LPARAM self) {
        auto* me = reinterpret_cast<OtherWindowsDisabled*>(self);
        if (window != me->owner_ && IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            me->disabled_.push_back(window);
        }
        return TRUE;
    }
    HWND owner_;
    std::vector<HWND> disabled_;
};

// Password step of a pick in the session combo; false ends the handler.
bool ShowChosenPassword(HWND window) {
    if (!PasswordFunctionOn()) {
        return true;
    }
    const std::string master = GadgetText(window, kMasterPasswordField);
    if (master.empty()) {
        ShowMessage("Fehler:", kNoMasterToDecrypt);
        SelectComboEntry(window, kSessionCombo, 0);
        SetGadgetText(window, kSessionPasswordField, "");
        return false;
    }
    const std::string stored = RegistryRead(ChosenSessionKey(window), PasswordValueName, ".");
    SetGadgetText(window, kSessionPasswordField, PasswordDecrypt(stored, master));
    return true;
}

void StoreChosenPassword(HWND window) {
    if (!PasswordFunctionOn()) {
        return;
    }
    const std::string master = GadgetText(window, kMasterPasswordField);
    if (master.empty()) {
        ShowMessage("Fehler:", kNoMasterToStore);
        return;
    }
    bool enciphered = false;
    const std::string cipherText =
        PasswordEncrypt(GadgetText(window, kSessionPasswordField), master, &enciphered);
    if (!enciphered) {
        return; // the cipher has shown its box; the plain password is never stored
    }
    if (!CanStoreCipherText(cipherText)) {
        ShowMessage("Fehler:", kUnstorablePassword);
        return;
    }
    RegistryWrite(ChosenSessionKey(window), PasswordValueName, cipherText, kRegSz, ".");
}

void StoreChosenMenu(HWND window) {
    const std::string key = ChosenSessionKey(window);
    const std::string text = GadgetText(window, kMenuCombo);
    std::vector<std::string> entries;
    for (int i = 0; i < ComboEntryCount(window, kMenuCombo); ++i) {
        entries.push_back(ComboEntry(window, kMenuCombo, i));
    }
    const MenuSave decision = DecideMenuSave(text, entries);
    if (decision == MenuSave::Delete) {
        RegistryDeleteValue(key, MenuValueName, ".");
        SetGadgetText(window, kMenuCombo, "");
        return;
    }
    if (decision == MenuSave::StoreAndAppend) {
        AddComboEntry(window, kMenuCombo, text);
    }
    RegistryWrite(key, MenuValueName, text, kRegSz, ".");
    {
        QuietChanges quiet;
        const std::wstring wide = Widen(text);
        SendDlgItemMessageW(window, kMenuCombo, CB_DELETESTRING, 0, 0);
        SendDlgItemMessageW(window, kMenuCombo, CB_INSERTSTRING, 0,
                            reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SetGadgetText(window, kMenuCombo, text); // replacing the entry may touch the edit text
}

} // namespace

bool IsReadableFile(const std::string& path) {
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open.
    UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.get() != INVALID_HANDLE_VALUE;
}

std::string ProgramFileName() {
    return Narrow(ProgramFileNameWide());
}

bool SwitchAutostart(bool on, const std::string& runValue) {
    if (on) {
        // RegistryWrite only says that the key opened; the probe tells whether it took.
        RegistryWrite(MachineRunKey, AutostartValueName, runValue, kRegSz, ".");
        if (RegistryProbe(MachineRunKey, AutostartValueName, ".") == 0) {
            RegistryCreateKey(UserRunKey, ".");
            RegistryWrite(UserRunKey, AutostartValueName, runValue, kRegSz, ".");
        }
    } else {
        RegistryDeleteValue(MachineRunKey, AutostartValueName, ".");
        RegistryDeleteValue(UserRunKey, AutostartValueName, ".");
    }
    return ProbeAutostart();
}

void RemoveProgramEntries(const std::vector<std::string>& allSessions) {
    for (const std::string& keyName : allSessions) {
        const std::string key = SessionsKey + keyName;
        RegistryDeleteValue(key, MenuValueName, ".");
        RegistryDeleteValue(key, PasswordValueName, ".");
    }
    RegistryDeleteValue(MachineRunKey, AutostartValueName, ".");
    RegistryDeleteValue(UserRunKey, AutostartValueName, ".");
    RegistryDeleteKey(ProgramKey, ".");
}

void OnSessionChosen(HWND window) {
    if (!ShowChosenPassword(window)) {
        return;
    }
    SetGadgetText(window, kMenuCombo, RegistryRead(ChosenSessionKey(window), MenuValueName, "."));
}

void OnSave(HWND window) {
    StoreChosenPassword(window);
    StoreChosenMenu(window);
}

void OnDeletePassword(HWND window) {
    RegistryDeleteValue(ChosenSessionKey(window), PasswordValueName, ".");
    SetGadgetText(window, kSessionPasswordField, "");
}

void OnDeleteAllPasswords() {
    if (ShowMessage("Passwörter Löschen", kDeleteAllPasswordsQuestion, MB_YESNO) == IDYES) {
        DeleteFromEverySession(TheProgram().catalogue.allSessions, PasswordValueName);
    }
}

void OnPasswordFunction(HWND window) {
    const bool on = IsGadgetChecked(window, kPasswordFunctionCheck);
    WriteSetting("Passwortfunktionalitaet", on ? "1" : "0");
    TheProgram().settings.Passwortfunktionalitaet = on ? 1 : 0;
    EnableWindow(GetDlgItem(window, kMasterPasswordField), on);
    EnableWindow(GetDlgItem(window, kSessionPasswordField), on);
    if (on) {
        SelectComboEntry(window, kSessionCombo, 0);
        SetGadgetText(window, kSessionPasswordField, "");
        SetGadgetText(window, kMasterPasswordField, "");
    }
}

void OnGeneralOption(HWND window, int gadget) {
    struct Option {
        int gadget;
        const char* valueName;
        int8_t Settings::*field;
    };
    static constexpr Option kOptions[] = {
        {kQuitAfterLaunchCheck, "NachPuttyStartBeenden", &Settings::NachPuttyStartBeenden},
        {kMinimizeAfterLaunchCheck, "NachPuttyStartMinimieren",
         &Settings::NachPuttyStartMinimieren},
        {kStartMinimizedCheck, "Startminimized", &Settings::Startminimized},
    };
    for (const Option& option : kOptions) {
        if (option.gadget == gadget) {
            const bool on = IsGadgetChecked(window, gadget);
            WriteSetting(option.valueName, on ? "1" : "0");
            TheProgram().settings.*option.field = on ? 1 : 0;
        }
    }
}

void OnAutostart(HWND window) {
    const bool wanted = IsGadgetChecked(window, kAutostartCheck);
    const bool stands = SwitchAutostart(wanted, AutostartRunValue(ProgramFileName()));
    if (stands != wanted) {
        ShowMessage("Fehler", wanted ? kAutostartNotWritten : kAutostartNotRemoved);
        SetGadgetChecked(window, kAutostartCheck, stands);
    }
    TheProgram().settings.Autostart = stands;
}

void OnPathEdited(HWND window) {
    TheProgram().settings.PuttyPfad = GadgetText(window, kPuttyPathField);
    CheckPuttyPath();
}

void OnBrowse(HWND window) {
    Settings& settings = TheProgram().settings;
    const BrowsePreset preset = SplitBrowsePreset(settings.PuttyPfad);
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
    settings.PuttyPfad = chosen ? Narrow(file.c_str()) : std::string();
    SetGadgetText(window, kPuttyPathField, settings.PuttyPfad);
    CheckPuttyPath();
}

void OnTemplateChosen(HWND window) {
    const int index = ComboSelection(window, kSshTemplateCombo);
    if (index < 0) {
        return;
    }
    Settings& settings = TheProgram().settings;
    settings.SSHSessionVorlage = ComboEntry(window, kSshTemplateCombo, index);
    WriteSetting("SSHSessionVorlage", settings.SSHSessionVorlage);
}

void OnDeleteMenu(HWND window) {
    RegistryDeleteValue(ChosenSessionKey(window), MenuValueName, ".");
    SetGadgetText(window, kMenuCombo, "");
}

void OnDeleteAllMenus() {
    if (ShowMessage("Menues Löschen", kDeleteAllMenusQuestion, MB_YESNO) == IDYES) {
        DeleteFromEverySession(TheProgram().catalogue.allSessions, MenuValueName);
    }
}

void OnRestart() {
    const std::wstring file = ProgramFileNameWide();
    const std::wstring directory = CurrentDirectoryWide();
    // The new copy reads the geometry at its start: store it before it starts.
    ShowAndSaveGeometry();
    // The new copy would otherwise meet this copy's semaphore and end at once.
    ReleaseSingleInstance();
    SHELLEXECUTEINFOW start{};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_NOASYNC; // this process ends right after the call
    start.lpVerb = L"open";
    start.lpFile = file.c_str();
    start.lpDirectory = directory.c_str();
    start.nShow = SW_SHOWNORMAL;
    ShellExecuteExW(&start);
    QuitProgram();
}

void OnUninstall() {
    if (ShowMessage("Quarnel deinstallieren", kUninstallQuestion, MB_YESNO) == IDYES) {
        RemoveProgramEntries(TheProgram().catalogue.allSessions);
    }
}

} // namespace quarnel
