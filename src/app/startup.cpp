#include "app/startup.h"

#include "app/events.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/resource_ids.h"
#include "config/config_window.h"
#include "registry/registry.h"
#include "vault/password_prompt.h"
#include "win/message_box.h"
#include "win/text.h"

#include <commctrl.h>

namespace quarnel {

namespace {

void CreateFonts() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (size_t i = 0; i < kFontSpecs.size(); ++i) {
        TheProgram().fonts[i] = CreateProgramFont(kFontSpecs[i], dpi);
    }
}

std::string CurrentDirectory() {
    wchar_t buffer[1000];
    const DWORD length = GetCurrentDirectoryW(1000, buffer);
    return length > 0 && length < 1000 ? Narrow(std::wstring_view(buffer, length)) : std::string();
}

constexpr char kFirstRunMessage[] =
    "Das Tool wurde zum Ersten Mal aufgerufen. Daher wurde ein Registry-Key erstellt. \r"
    "Um ihn wieder loszuwerden, einfach den Deinstallieren-Button verwenden.\r\r"
    "Bitte konfigurieren Sie nun zunächst die Einstellungen im folgenden Menü.";

} // namespace

void EnsureSingleInstance() {
    wchar_t path[255];
    const DWORD length = GetModuleFileNameW(nullptr, path, 255);
    std::wstring name(path, length);
    name = name.substr(name.find_last_of(L'\\') + 1);
    HANDLE semaphore = CreateSemaphoreW(nullptr, 0, 1, name.c_str());
    if (semaphore != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(semaphore);
        ExitProcess(0);
    }
    TheProgram().semaphore.reset(semaphore);
}

void ReleaseSingleInstance() {
    TheProgram().semaphore.reset();
}

void RunProgram(HINSTANCE instance) {
    Program& program = TheProgram();
    program.instance = instance;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    CreateFonts();
    EnsureSingleInstance();
    program.startDirectory = CurrentDirectory();
    program.trayImage.reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUARNEL),
                                                          IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                          GetSystemMetrics(SM_CYSMICON), 0)));
    program.settings = LoadSettings(program.startDirectory);
    if (program.settings.Passwortfunktionalitaet) {
        AskMasterPassword();
    }
    program.catalogue = LoadSessionCatalogue();

    if (!RegistryKeyExists(ProgramKey, ".")) {
        RegistryCreateKey(ProgramKey, ".");
        OpenMainWindow();
        ShowMessage("Ulvas Quarnel", kFirstRunMessage);
        OpenConfigWindow();
    } else {
        OpenMainWindow();
        SetFocus(GetDlgItem(MainWindowHandle(), kHostField));
        InstallReturnShortcut();
    }
    AddTrayIcon();
    program.mainWindowVisible = true;
    if (program.settings.Startminimized) {
        HideToTray();
    }
    RunEventLoop();
}

} // namespace quarnel
