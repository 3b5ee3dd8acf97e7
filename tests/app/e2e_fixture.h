// What the end-to-end tests of the application shell share: a clean registry, a fresh
// log of the stand-in putty.exe, and quarnel.exe started and used from the outside.
#pragma once

#include "app/settings.h"
#include "registry/registry.h"
#include "testkit/fake_putty_log.h"
#include "testkit/quarnel_setup.h"
#include "testkit/ui_driver.h"
#include "win/handles.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <memory>
#include <string>
#include <vector>

namespace quarnel::test {

inline constexpr int kHostField = 24;
inline constexpr int kTelnetButton = 26;
inline constexpr int kInfoOk = 31;
inline constexpr int kMenuAbout = 980;
inline constexpr int kMenuQuit = 990;
inline const std::string kInfoTitle = "Quarnel - Information";
inline const std::string kConfigTitle = "Quarnel Konfiguration ";

// The stored values of the main window's geometry, in this order; empty where missing.
inline const char* const kGeometryNames[] = {"FensterpositionX", "FensterpositionY",
                                             "Fensterbreite", "Fensterhoehe"};
using Geometry = std::vector<std::string>;
inline const Geometry kNoGeometry(4);

inline Geometry StoredGeometry() {
    Geometry geometry;
    for (const char* name : kGeometryNames) {
        geometry.push_back(RegistryRead(ProgramKey, name, "."));
    }
    return geometry;
}

inline void ForgetGeometry() {
    for (const char* name : kGeometryNames) {
        RegistryDeleteValue(ProgramKey, name, ".");
    }
}

inline Geometry GeometryValues(int x, int y, int width, int height) {
    return {std::to_string(x), std::to_string(y), std::to_string(width), std::to_string(height)};
}

class E2eTest : public ::testing::Test {
  protected:
    // Starts quarnel.exe and waits for its main window (shown or not) and, unless the
    // start-up stops in a message box, until its event loop takes messages (start-up
    // takes none before).
    App& Start(LaunchOptions options = {}, bool waitForLoop = true) {
        app_.reset();
        app_ = std::make_unique<App>(std::move(options));
        WindowQuery query = TitleStartsWith(kMainTitlePrefix);
        query.visibleOnly = false;
        main_ = app_->WaitForWindow(query);
        if (waitForLoop) {
            main_.WaitUntilIdle();
        }
        return *app_;
    }

    // What the program should store for the main window as it is: the outer corner, the
    // client width, the client height plus one line of menu bar.
    Geometry GeometryOfMain() const {
        const RECT outer = main_.WindowRect();
        const RECT client = main_.ClientRect();
        return GeometryValues(outer.left, outer.top, client.right,
                              client.bottom + GetSystemMetrics(SM_CYMENU));
    }

    // Moves and sizes the main window as a user drags it (SetWindowPos returns when the
    // program has done it); returns GeometryOfMain().
    Geometry Place(int x, int y, int width, int height) const {
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
        Await([&] { return GetForegroundWindow() == window.Handle(); },
              window.Describe() + " to become active");
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

    // Starts a Telnet connection to "ende" and returns the arguments of every start of
    // the stand-in so far. The starts before it have made their processes by then, and
    // each has logged once no stand-in runs any more.
    std::vector<std::wstring> LaunchesUpToATelnetStart() const {
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
        std::vector<std::wstring> arguments;
        for (const FakePuttyStart& start : putty_.Read()) {
            arguments.insert(arguments.end(), start.arguments.begin() + 1, start.arguments.end());
        }
        return arguments;
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
