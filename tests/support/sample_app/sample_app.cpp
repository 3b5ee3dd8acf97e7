// A small stand-in for the program on which the UI driver proves itself: a main window
// with a menu bar, a tray-style popup menu, an edit, a button that asks a question in a
// message box and a combo box. Every user action it sees is appended as one line to
// "sample_app.log" in its current directory, where the tests read it.
//
// Its exit code is the number in the environment variable SAMPLE_EXIT_CODE (0 without).
#include "app/tray.h"
#include "win/handles.h"
#include "win/message_box.h"
#include "win/text.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using quarnel::Widen;

constexpr int kEdit = 24;
constexpr int kAskButton = 25;
constexpr int kCombo = 40;
constexpr int kReturnKey = 300;
constexpr int kQuitItem = 190;
constexpr int kTrayQuitItem = 990;

HWND g_askButton = nullptr;
quarnel::UniqueMenu g_trayMenu;
int g_exitCode = 0;

void Log(const std::string& line) {
    std::ofstream("sample_app.log", std::ios::app | std::ios::binary) << line << "\n";
}

std::string TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return quarnel::Narrow(text);
}

void Append(HMENU menu, int id, const std::string& text) {
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id), Widen(text).c_str());
}

void AppendSubmenu(HMENU menu, HMENU submenu, const std::string& text) {
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), Widen(text).c_str());
}

HMENU BuildMenuBar() {
    HMENU more = CreatePopupMenu();
    Append(more, 111, "Eins");
    Append(more, 112, "Zwei");
    EnableMenuItem(more, 112, MF_BYCOMMAND | MF_GRAYED);
    HMENU file = CreatePopupMenu();
    Append(file, 101, "Öffnen");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendSubmenu(file, more, "Weitere");
    Append(file, kQuitItem, "Beenden");
    HMENU help = CreatePopupMenu();
    Append(help, 201, "Über");
    HMENU bar = CreateMenu();
    AppendSubmenu(bar, file, "Datei");
    AppendSubmenu(bar, help, "Hilfe");
    return bar;
}

HMENU BuildTrayMenu() {
    HMENU group = CreatePopupMenu();
    Append(group, 1001, "Sitzung B");
    Append(group, 1002, "Sitzung C");
    HMENU menu = CreatePopupMenu();
    Append(menu, 1000, "Sitzung A");
    AppendSubmenu(menu, group, "Gruppe");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    Append(menu, kTrayQuitItem, "Beenden");
    return menu;
}

void CreateControls(HWND window) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto child = [&](const wchar_t* cls, const std::string& text, DWORD style, int x, int w,
                           int h, int id) {
        return CreateWindowExW(0, cls, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, x, 10, w,
                               h, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               instance, nullptr);
    };
    child(L"EDIT", "", WS_BORDER | ES_AUTOHSCROLL, 5, 135, 20, kEdit);
    g_askButton = child(L"BUTTON", "Fragen", BS_PUSHBUTTON, 145, 55, 20, kAskButton);
    HWND combo = child(L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 205, 100, 120, kCombo);
    for (const char* entry : {"Alpha", "Beta", "Gämma"}) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entry).c_str()));
    }
}

void ShowTrayMenu(HWND window) {
    POINT at{};
    GetCursorPos(&at);
    SetForegroundWindow(window);
    TrackPopupMenu(g_trayMenu.get(), TPM_RIGHTBUTTON, at.x - 1, at.y - 1, 0, window, nullptr);
    PostMessageW(window, WM_NULL, 0, 0);
    Log("POPUP DONE");
}

void OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (lParam == 0) {
        Log((code == 1 ? "ACCEL " : "MENU ") + std::to_string(id));
        if (id == kQuitItem || id == kTrayQuitItem) {
            DestroyWindow(window);
        }
        return;
    }
    const HWND control = reinterpret_cast<HWND>(lParam);
    if (id == kEdit && code == EN_CHANGE) {
        Log("EN_CHANGE " + TextOf(control));
    } else if (id == kAskButton && code == BN_CLICKED) {
        Log("CLICK 25");
        const int answer = quarnel::ShowMessage("Sample Frage", "Wirklich weiter?", MB_YESNO);
        Log("ANSWER " + std::to_string(answer));
    } else if (id == kCombo && code == CBN_SELCHANGE) {
        Log("CBN_SELCHANGE " + std::to_string(SendMessageW(control, CB_GETCURSEL, 0, 0)));
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(window, wParam, lParam);
        return 0;
    case quarnel::kTrayCallbackMessage:
        Log("TRAY " + std::to_string(wParam) + " " + std::to_string(lParam));
        if (lParam == WM_RBUTTONUP) {
            ShowTrayMenu(window);
        }
        return 0;
    case WM_CLOSE:
        Log("CLOSE");
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(g_exitCode);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    if (const char* code = std::getenv("SAMPLE_EXIT_CODE")) {
        g_exitCode = std::atoi(code);
    }
    WNDCLASSW cls{};
    cls.lpfnWndProc = WindowProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = L"QuarnelSampleApp";
    RegisterClassW(&cls);
    g_trayMenu.reset(BuildTrayMenu());
    HWND window = CreateWindowExW(0, cls.lpszClassName, Widen("Sample App Übung").c_str(),
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 420, 140, nullptr,
                                  BuildMenuBar(), instance, nullptr);
    CreateControls(window);
    ACCEL returnKey{FVIRTKEY, VK_RETURN, kReturnKey};
    HACCEL accelerators = CreateAcceleratorTableW(&returnKey, 1);
    Log("START");

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Told apart in the loop, where only input that really arrived as input is seen.
        if (msg.message == WM_RBUTTONUP && msg.hwnd == g_askButton) {
            Log("RCLICK 25");
        }
        if (TranslateAcceleratorW(window, accelerators, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
