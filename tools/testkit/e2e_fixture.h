// What the end-to-end tests of the application shell share: a clean registry, a fresh
// log of the stand-in putty.exe, and quarnel.exe started and used from the outside.
#pragma once

#include "config/settings.h"
#include "registry/registry.h"
#include "testkit/fake_putty_log.h"
#include "testkit/quarnel_setup.h"
#include "testkit/ui_driver.h"
#include "win/handles.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <initializer_list>
#include <memory>
#include <vector>

namespace quarnel::test {

inline constexpr int kHostField = 24, kTelnetButton = 26, kInfoOk = 31, kMenuAbout = 980;
inline const std::string kInfoTitle = "Quarnel - Information";
inline const std::string kConfigTitle = "Quarnel Konfiguration ";

// The main window's geometry as "x y width height " (a blank alone where a value is
// missing), as stored or as given.
inline std::string StoredGeometry(bool thenForget = false) {
    std::string geometry;
    for (const char* name :
         {"FensterpositionX", "FensterpositionY", "Fensterbreite", "Fensterhoehe"}) {
        geometry += RegistryRead(ProgramKey, name, ".") + " ";
        if (thenForget) {
            RegistryDeleteValue(ProgramKey, name, ".");
        }
    }
    return geometry;
}
inline std::string Geometry(int x, int y, int width, int height) {
    using std::to_string;
    return to_string(x) + " " + to_string(y) + " " + to_string(width) + " " + to_string(height) +
           " ";
}
inline const std::string kNoGeometry(4, ' ');

// Keys pressed down in this order and released in reverse, as the keyboard gives them to
// whichever program holds them (a hotkey of another process).
inline void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> input;
    for (const WORD key : keys) {
        input.push_back({INPUT_KEYBOARD, {}});
        input.back().ki.wVk = key;
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        input.push_back({INPUT_KEYBOARD, {}});
        input.back().ki.wVk = *key;
        input.back().ki.dwFlags = KEYEVENTF_KEYUP;
    }
    ASSERT_EQ(SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT)),
              input.size());
}

class E2eTest : public ::testing::Test {
  protected:
    // Starts quarnel.exe and waits for its main window (shown or not) and, unless the
    // start-up stops in a message box, until its event loop takes messages.
    App& Start(LaunchOptions options = {}, bool waitForLoop = true) {
        app_.reset();
        app_ = std::make_unique<App>(std::move(options));
        main_ = app_->WaitForWindow({kMainTitlePrefix, true, {}, false});
        if (waitForLoop) {
            main_.WaitUntilIdle();
        }
        return *app_;
    }

    // What the program should store for the main window as it is: the outer corner, the
    // client width, the client height plus one line of menu bar.
    std::string GeometryOfMain() const {
        const RECT outer = main_.WindowRect(), client = main_.ClientRect();
        return Geometry(outer.left, outer.top, client.right,
                        client.bottom + GetSystemMetrics(SM_CYMENU));
    }

    // Moves and sizes the main window as a user drags it; returns GeometryOfMain().
    std::string Place(int x, int y, int width, int height) const {
        SetWindowPos(main_.Handle(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        return GeometryOfMain();
    }

    Window Focus() const { // the control with the keyboard focus in the program
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(app_->MainThreadId(), &info);
        return Window(info.hwndFocus);
    }

    void Activate(const Window& window) const {
        SetForegroundWindow(window.Handle());
        Await([&] { return GetForegroundWindow() == window.Handle(); }, "the window active");
    }

    // Shell_NotifyIcon on the main window's icon `id` as another program may call it;
    // NIM_MODIFY tells whether the icon is there.
    bool TrayIcon(DWORD action, UINT id = 1) const {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = main_.Handle();
        data.uID = id;
        return Shell_NotifyIconW(action, &data) != FALSE;
    }

    // Starts a Telnet connection to "ende" and expects it to be the only start of the
    // stand-in: the starts before it have made their processes by then, and each has
    // logged once no stand-in runs any more.
    void ExpectATelnetStartOnly(const char* otherwise) const {
        main_.Control(kHostField).SetText("ende");
        main_.Control(kTelnetButton).Click();
        Await(
            [] {
                const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
                PROCESSENTRY32W entry{};
                entry.dwSize = sizeof entry;
                BOOL more = Process32FirstW(snapshot.get(), &entry);
                while (more && _wcsicmp(entry.szExeFile, L"putty.exe") != 0) {
                    more = Process32NextW(snapshot.get(), &entry);
                }
                return !more;
            },
            "every stand-in putty.exe to end");
        const std::vector<FakePuttyStart> starts = putty_.Read();
        ASSERT_EQ(starts.size(), 1u) << otherwise;
        EXPECT_EQ(std::vector(starts[0].arguments.begin() + 1, starts[0].arguments.end()),
                  (std::vector<std::wstring>{L"-telnet", L"ende"}));
    }

    void CloseProgram() { // through the main window's close box
        main_.Close();
        EXPECT_EQ(app_->WaitForExit(), 0u);
    }

    QuarnelSetup setup_; // first: the program must be gone before the registry is reset
    FakePuttyLog putty_;
    std::unique_ptr<App> app_;
    Window main_;
};

} // namespace quarnel::test
