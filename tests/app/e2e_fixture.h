// What the end-to-end tests of the application shell share: a clean registry, a fresh
// log of the stand-in putty.exe, and quarnel.exe started and used from the outside.
#pragma once

#include "testkit/fake_putty_log.h"
#include "testkit/quarnel_setup.h"
#include "testkit/ui_driver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quarnel::test {

inline constexpr int kHostField = 24;
inline constexpr int kSshButton = 25;
inline constexpr int kTelnetButton = 26;
inline constexpr int kMenuConfigure = 910;
inline constexpr int kMenuAbout = 980;
inline constexpr int kMenuQuit = 990;
inline const std::string kInfoTitle = "Quarnel - Information";
inline const std::string kConfigTitle = "Quarnel Konfiguration ";

// The four geometry values as "name=value" lines, in the order they are stored.
using Geometry = std::vector<std::string>;
inline const Geometry kNoGeometry{
    "FensterpositionX=", "FensterpositionY=", "Fensterbreite=", "Fensterhoehe="};

class E2eTest : public ::testing::Test {
  protected:
    // Starts quarnel.exe and waits until its main window exists and, unless
    // `waitForLoop` is false (a start-up that stops in a message box), until its event
    // loop takes messages. The main window may be hidden (started minimised).
    App& Start(LaunchOptions options = {}, bool waitForLoop = true);

    // The stored value of the program key; empty when missing.
    static std::string Stored(const std::string& valueName);
    // What the registry holds for the geometry ("name=" for a missing value).
    static Geometry StoredGeometry();
    static void ForgetGeometry();
    // The names of every value in the program key, sorted.
    static std::vector<std::string> StoredValueNames();
    // What the program should store for `main` as it is now: the outer top-left corner,
    // the client width, and the client height plus one line of menu bar.
    static Geometry GeometryOf(const Window& main);
    static Geometry GeometryValues(int x, int y, int width, int height);

    // The control with the keyboard focus and the active window of the program's thread.
    Window Focus() const;
    Window Active() const;
    // Makes the window the foreground window, as a click on it does.
    void Activate(const Window& window) const;

    // Whether the notification area holds the icon `id` of the main window: the shell
    // accepts a change to an icon only when it knows it.
    bool TrayIconShown(UINT id = 1) const;

    // Every top-level window of the program, hidden ones too, as "title [class]".
    std::vector<std::string> AllWindows() const;

    // What the stand-in putty.exe recorded for every launch so far, in any order: waits
    // until the program has handled its input and no stand-in runs any more.
    std::vector<FakePuttyStart> Launched() const;
    // The same as the options of each start ("-ssh host", ...), sorted.
    std::vector<std::string> LaunchedOptions() const;

    // Ends the program through the close box of its main window; expects exit code 0.
    void CloseProgram();

    QuarnelSetup setup_; // first: the program must be gone before the registry is reset
    FakePuttyLog putty_;
    std::unique_ptr<App> app_;
    Window main_;
};

} // namespace quarnel::test
