#include "config/config_window.h"

#include "app/controls.h"
#include "app/program.h"
#include "config/config_actions.h"
#include "registry/registry.h"
#include "sessions/catalogue.h"
#include "win/text.h"

#include <algorithm>

namespace quarnel {

namespace {

constexpr wchar_t kClassName[] = L"QuarnelConfigWindow";
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU;
constexpr char kSeparator[] = "---------------------";
constexpr char kChooseSession[] = "Bitte Session wählen:";

struct ConfigWindow {
    HWND window = nullptr;
};
ConfigWindow configWindow;

// Creation order is the tab order.
const GadgetSpec kGadgets[] = {
    {kSessionCombo, GadgetKind::ListCombo, 15, 290, 225, 210, ""},
    {kMasterPasswordField, GadgetKind::MaskedField, 105, 140, 155, 20, ""},
    {kMasterPasswordLabel, GadgetKind::Label, 20, 140, 80, 20, "Masterpasswort:"},
    {kSessionPasswordLabel, GadgetKind::Label, 505, 270, 175, 20, "Ggf. zugeordnetes Passwort"},
    {kSessionPasswordField, GadgetKind::MaskedField, 500, 290, 190, 20, ""},
    {kSessionLabel, GadgetKind::Label, 15, 270, 175, 20, "Puttysession:"},
    {kSaveButton, GadgetKind::Button, 250, 320, 440, 35, "S P E I C H E R N "},
    {kDeletePasswordButton, GadgetKind::Button, 500, 365, 190, 30, "Dieses Passwort löschen"},
    {kMenuCombo, GadgetKind::EditCombo, 250, 290, 225, 210, ""},
    {kMenuLabel, GadgetKind::Label, 255, 270, 175, 20, "Menuzuordnung für die Session"},
    {kPasswordFunctionCheck, GadgetKind::CheckBox, 20, 25, 220, 15,
     "Passwortfunktionalität einschalten"},
    {kAssignmentFrame, GadgetKind::Frame, 5, 250, 705, 185, "Menü- und Passwortzuordnung"},
    {kPasswordFrame, GadgetKind::Frame, 5, 5, 270, 165, "Passwortfunktionalität"},
    {kGeneralFrame, GadgetKind::Frame, 285, 5, 425, 240,
     "Allgemeine Einstellungen (werden sofort, ohne speichern aktiv)"},
    {kQuitAfterLaunchCheck, GadgetKind::CheckBox, 305, 25, 375, 20,
     "Quarnel nach Starten einer Putty-Session gleich wieder beenden"},
    {kPuttyPathField, GadgetKind::TextField, 300, 205, 370, 20, ""},
    {kPuttyPathLabel, GadgetKind::Label, 300, 185, 150, 20, "Pfad und Dateiname zu Putty:"},
    {kDeleteMenuButton, GadgetKind::Button, 250, 365, 190, 30, "Diese Menuzuordnung löschen"},
    {kRestartButton, GadgetKind::Button, 260, 460, 445, 40,
     "Einstellungen beenden und Quarnel neu starten zum einlesen der Konfig"},
    {kDeleteAllMenusButton, GadgetKind::Button, 250, 405, 190, 20, "ALLE Menuzuordnungen löschen"},
    {kDeleteAllPasswordsButton, GadgetKind::Button, 500, 405, 190, 20,
     "ALLE gesp. Passwörter löschen"},
    {kWarningTitleLabel, GadgetKind::Label, 20, 50, 220, 20, "A C H T U N G !", 1},
    {kWarningTextLabel, GadgetKind::Label, 20, 70, 245, 65,
     "Das Abspeichern von Passwörtern stellt ein hohes Sicherheitsrisiko dar. Bitte daher - "
     "wenn überhaupt - nur Passwörter unkritischer Systeme abspeichern! VERWENDUNG AUF "
     "EIGENE GEFAHR!"},
    {kStartMinimizedCheck, GadgetKind::CheckBox, 305, 65, 375, 25,
     "Quarnel immer minimiert starten (im Systray)"},
    {kUninstallButton, GadgetKind::Button, 10, 455, 155, 25, "Quarnel deinstallieren"},
    {kPuttyPathStatusLabel, GadgetKind::CentredLabel, 300, 225, 370, 15, "Bitte prüfen", 6},
    {kBrowseButton, GadgetKind::Button, 675, 205, 20, 20, "..."},
    {kAutostartCheck, GadgetKind::CheckBox, 305, 90, 375, 21, "Quarnel beim Hochfahren starten"},
    {kMinimizeAfterLaunchCheck, GadgetKind::CheckBox, 305, 50, 375, 11,
     "Quarnel nach Starten einer Putty-Session minimieren (im Systray)"},
    {kSshTemplateCombo, GadgetKind::ListCombo, 460, 125, 200, 110, ""},
    {kSshTemplateLabel, GadgetKind::Label, 300, 130, 150, 20, "Session für SSH-Eingabefeld"},
};

struct ToolTip {
    int gadget;
    const char* text;
};
const ToolTip kToolTips[] = {
    {kDeleteAllMenusButton, "Alle gespeicherten Menüzuordungen sofort löschen"},
    {kDeleteAllPasswordsButton, "Alle gespeicherten Passwörter sofort löschen"},
    {kUninstallButton,
     "Alle Quarnel-Einträge aus der Registry entfernen (exe-File bleibt erhalten)"},
    {kSshTemplateCombo, "Hier kann die PuttySession für eine über die IP-Adresse +Rechte "
                        "Maustaste geöffnete SSH-Verbindung eingestellt werden"},
};

LRESULT CALLBACK ConfigWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (ForwardWindowEvent(kConfigWindow, message, wParam, lParam)) {
        return 0;
    }
    switch (message) {
    case WM_DPICHANGED:
        FollowDpiChange(window, wParam, lParam, kGadgets);
        return 0;
    case WM_DESTROY:
        if (window == configWindow.window) {
            configWindow.window = nullptr;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void CreateConfigWindow() {
    RegisterWindowClass(kClassName, ConfigWindowProc);

    const SIZE outer = OuterSizeForClient(kStyle, 0, 710, 512, WindowDpi(nullptr));
    const POINT corner = CentredOnScreen(outer);
    configWindow.window = CreateWindowExW(
        0, kClassName, L"Quarnel Konfiguration ", kStyle | WS_VISIBLE, corner.x, corner.y, outer.cx,
        outer.cy, nullptr, nullptr, TheProgram().instance, nullptr);
    if (configWindow.window == nullptr) {
        return;
    }
    SetWindowLongPtrW(configWindow.window, GWLP_USERDATA, kConfigWindow);
    for (const GadgetSpec& layout : kGadgets) {
        CreateGadget(configWindow.window, layout);
    }
    for (const ToolTip& tip : kToolTips) {
        if (HWND gadget = GetDlgItem(configWindow.window, tip.gadget)) {
            AddToolTip(gadget, tip.text);
        }
    }
}

void FillConfigWindow(HWND window) {
    const Program& program = TheProgram();
    const Settings& s = program.settings;
    SetGadgetChecked(window, kQuitAfterLaunchCheck, s.NachPuttyStartBeenden != 0);
    SetGadgetChecked(window, kStartMinimizedCheck, s.Startminimized != 0);
    SetGadgetChecked(window, kAutostartCheck, s.Autostart);
    SetGadgetChecked(window, kPasswordFunctionCheck, s.Passwortfunktionalitaet != 0);
    SetGadgetChecked(window, kMinimizeAfterLaunchCheck, s.NachPuttyStartMinimieren != 0);
    if (s.Passwortfunktionalitaet == 0) {
        EnableWindow(GetDlgItem(window, kSessionPasswordField), FALSE);
        EnableWindow(GetDlgItem(window, kMasterPasswordField), FALSE);
    }
    SetGadgetText(window, kPuttyPathField, s.PuttyPfad);
    CheckPuttyPath();

    AddComboEntry(window, kMenuCombo, "");
    AddComboEntry(window, kMenuCombo, kSeparator);
    for (const std::string& menu : program.catalogue.menuNames) {
        AddComboEntry(window, kMenuCombo, menu);
    }
    AddComboEntry(window, kMenuCombo, kSeparator);
    SelectComboEntry(window, kMenuCombo, 0);

    AddComboEntry(window, kSessionCombo, kChooseSession);
    AddComboEntry(window, kSessionCombo, kSeparator);
    AddComboEntry(window, kSshTemplateCombo, s.SSHSessionVorlage);
    for (const std::string& keyName : program.catalogue.allSessions) {
        const std::string shown = SessionDisplayName(keyName);
        AddComboEntry(window, kSessionCombo, shown);
        AddComboEntry(window, kSshTemplateCombo, shown);
    }
    SelectComboEntry(window, kSessionCombo, 0);
    SelectComboEntry(window, kSshTemplateCombo, 0);
}

} // namespace

HWND ConfigWindowHandle() {
    return configWindow.window;
}

void OpenConfigWindow() {
    if (configWindow.window != nullptr) {
        SetForegroundWindow(configWindow.window);
        return;
    }
    CreateConfigWindow();
    if (configWindow.window != nullptr) {
        FillConfigWindow(configWindow.window);
    }
}

void CheckPuttyPath() {
    const std::string& path = TheProgram().settings.PuttyPfad;
    const bool found = IsReadableFile(path);
    if (found) {
        RegistryWrite(ProgramKey, "PuttyPfad", path, kRegSz, ".");
    }
    SetGadgetText(configWindow.window, kPuttyPathStatusLabel,
                  found ? "(Datei gefunden!. Alles OK!)"
                        : "(Angegebene Datei nicht gefunden. Bitte prüfen!)");
}

bool IsConfigGadget(int number) {
    return (number >= 0 && number <= 23) || number == 27 || (number >= 36 && number <= 41);
}

void HandleConfigEvent(const Event& event) {
    const HWND window = configWindow.window;
    if (window == nullptr) {
        return;
    }
    if (event.kind == EventKind::Close) {
        DestroyWindow(window);
        return;
    }
    if (event.kind != EventKind::Gadget) {
        return;
    }
    if (event.action == kSelectionChanged) {
        if (event.number == kSessionCombo) {
            OnSessionChosen(window);
        } else if (event.number == kSshTemplateCombo) {
            OnTemplateChosen(window);
        }
        return;
    }
    if (event.action == kTextChanged) {
        if (event.number == kPuttyPathField) {
            OnPathEdited(window);
        }
        return;
    }
    if (event.action != kClicked) {
        return; // right clicks, focus changes, drop-downs
    }
    switch (event.number) {
    case kSaveButton:
        OnSave(window);
        break;
    case kDeletePasswordButton:
        OnDeletePassword(window);
        break;
    case kDeleteAllPasswordsButton:
        OnDeleteAllPasswords();
        break;
    case kPasswordFunctionCheck:
        OnPasswordFunction(window);
        break;
    case kQuitAfterLaunchCheck:
    case kMinimizeAfterLaunchCheck:
    case kStartMinimizedCheck:
        OnGeneralOption(window, event.number);
        break;
    case kAutostartCheck:
        OnAutostart(window);
        break;
    case kBrowseButton:
        OnBrowse(window);
        break;
    case kDeleteMenuButton:
        OnDeleteMenu(window);
        break;
    case kDeleteAllMenusButton:
        OnDeleteAllMenus();
        break;
    case kRestartButton:
        OnRestart(); // ends this copy of the program
    case kUninstallButton:
        OnUninstall();
        break;
    default:
        break;
    }
}

} // namespace quarnel
