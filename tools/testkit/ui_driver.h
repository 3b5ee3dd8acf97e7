// The end-to-end test driver: starts a Windows program (quarnel.exe by default) in the
// tests' Wine prefix and uses it as a person would, from the outside, through window
// messages. Texts are Windows-1252 std::strings like everywhere in the program.
//
// Every wait has a deadline; when it passes, or the program cannot be driven, the driver
// throws DriverError, whose message says what was awaited and which windows the program
// showed. GoogleTest reports the exception as a failure of the running test.
//
//   test::App app;                                            // starts quarnel.exe
//   test::Window main = app.WaitForWindow(test::TitleStartsWith("Quarnel V. 0.53"));
//   main.Control(24).Type("host");                            // one WM_CHAR per character
//   main.Control(25).Click();                                 // returns once handled
//   test::PendingCall click = main.Control(25).ClickAsync();  // when a box will open
//   test::Window box = app.WaitForMessageBox("Fehler:");
//   EXPECT_EQ(box.MessageText(), "...");
//   box.Answer(IDOK);
//   click.Wait();
//   app.Tray(main, WM_RBUTTONUP);
//   EXPECT_EQ(app.WaitForPopupMenu().Dump(), "...");
//   app.ChooseFromPopupMenu(990);
//   EXPECT_EQ(app.WaitForExit(), 0u);
//
// How input reaches the program:
// - Click: BM_CLICK sent to the button, which sends its WM_COMMAND to its parent before
//   the call returns. A click that opens a modal box cannot return before the box is
//   answered: ClickAsync sends it from a helper thread and returns a PendingCall.
// - RightClick, MouseClick, PressKey, Type, Close, Minimize: posted WM_RBUTTONDOWN/UP,
//   WM_LBUTTONDOWN/UP, WM_KEYDOWN/UP, WM_CHAR, WM_SYSCOMMAND, so that they pass the
//   program's message loop (accelerators, TranslateMessage) as real input does. Then
//   the driver waits until the program's thread has taken them out of its queue (or has
//   entered a modal loop, or has ended). SendInput reaches the program under Wine too,
//   but only while it is the foreground window, which under a bare X server depends on
//   what was shown last; posting does not.
// - Tray: the callback message is delivered with SendNotifyMessage, as the shell's
//   notification area does, and taken like posted input.
// - Menus are read from inside the program by menu_probe.dll, which the driver places
//   into it with a window hook (Wine keeps menus inside their process). Choosing an item
//   clicks it with posted mouse messages, which the system's menu loop takes as the
//   user's clicks, opening submenus on the way; for the menu bar the title is clicked in
//   the non-client area first. PostMenuCommand posts WM_COMMAND with the item number
//   instead, for a test that does not care how the item was picked. A popup menu shown
//   with TrackPopupMenu holds the program inside it until an item is chosen or the menu
//   is dismissed (DismissMenu, Escape per level); should a test fail with a menu open,
//   destroying the App ends the program, so nothing hangs.
#pragma once

#include "testkit/test_support.h"
#include "win/handles.h"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <future>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace quarnel::test {

using Timeout = std::chrono::milliseconds;
inline constexpr Timeout kDefaultTimeout{10000};

class DriverError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Polls `condition` (every few milliseconds) until it holds or `timeout` passes.
bool WaitUntil(const std::function<bool()>& condition, Timeout timeout = kDefaultTimeout);
// The same, but throws DriverError("timed out after N ms waiting for <what>").
void Await(const std::function<bool()>& condition, const std::string& what,
           Timeout timeout = kDefaultTimeout);

// Which top-level window to look for.
struct WindowQuery {
    std::string title;
    bool titlePrefix = false; // title is a prefix instead of the whole title
    std::string className;    // empty: any class
    bool visibleOnly = true;

    std::string Describe() const;
};
inline WindowQuery TitleIs(std::string title, std::string className = {}) {
    return {std::move(title), false, std::move(className)};
}
inline WindowQuery TitleStartsWith(std::string prefix, std::string className = {}) {
    return {std::move(prefix), true, std::move(className)};
}

// A menu as the program holds it. For a menu bar the items are the titles, each with
// its drop-down as submenu.
struct MenuItem {
    enum class Kind { Command, Submenu, Separator };
    Kind kind = Kind::Command;
    int id = 0;
    std::string text;
    bool grayed = false;      // MFS_GRAYED or MFS_DISABLED
    bool checked = false;     // MFS_CHECKED
    std::optional<RECT> rect; // on the screen, while the item is shown
    uint64_t submenuHandle = 0;
    std::vector<MenuItem> items; // the submenu's items
};

struct Menu {
    uint64_t handle = 0;
    std::vector<MenuItem> items;

    // The command item with this number anywhere in the tree, or null.
    const MenuItem* Find(int id) const;
    // Positions from the top down to the command item with this number; empty if absent.
    std::vector<size_t> PathTo(int id) const;
    // One line per item, indented by two blanks per level: "Text [id]" for commands,
    // "Text" for submenus (followed by their items), "---" for separators; " (grayed)"
    // and " (checked)" are appended where they apply. Lines end with "\n".
    std::string Dump() const;
};

// The result of an action started without waiting for the program to handle it.
class PendingCall {
  public:
    PendingCall() = default;
    explicit PendingCall(std::shared_future<LRESULT> result, std::string what)
        : result_(std::move(result)), what_(std::move(what)) {}
    bool Done() const;
    // Waits until the program has handled the message; returns its result.
    LRESULT Wait(Timeout timeout = kDefaultTimeout) const;

  private:
    std::shared_future<LRESULT> result_;
    std::string what_;
};

// A window of the program (top-level or control), seen from outside. It does not own
// the window; operations on a window that has gone throw DriverError.
class Window {
  public:
    Window() = default;
    explicit Window(HWND handle) : handle_(handle) {}

    HWND Handle() const { return handle_; }
    bool Exists() const;
    DWORD ThreadId() const;
    DWORD ProcessId() const;
    int Id() const; // control id (gadget number)
    std::string ClassName() const;
    std::string Text() const; // title of a window, text of a control (WM_GETTEXT)
    bool IsVisible() const;
    bool IsEnabled() const;
    bool IsMinimized() const;
    bool IsChecked() const; // BM_GETCHECK == BST_CHECKED
    RECT ClientRect() const;
    RECT WindowRect() const; // on the screen
    Window Parent() const;

    // Child controls.
    Window Control(int id) const; // throws if there is none with this id
    std::optional<Window> FindControl(int id) const;
    std::vector<Window> Controls() const; // all descendants, in Z order

    // Combo boxes, and the rows of a list box.
    std::vector<std::string> ComboEntries() const;
    int ComboSelection() const; // CB_ERR (-1) when nothing is selected
    // As a user picks an entry: CB_SETCURSEL and CBN_SELCHANGE to the parent.
    void PickComboEntry(int index, Timeout timeout = kDefaultTimeout) const;
    void PickComboEntry(const std::string& text, Timeout timeout = kDefaultTimeout) const;

    // Buttons, check boxes. Clicking a hidden or disabled control throws.
    void Click(Timeout timeout = kDefaultTimeout) const;
    PendingCall ClickAsync() const;
    void RightClick(Timeout timeout = kDefaultTimeout) const;
    // A left click with the mouse in the middle of the control, posted like RightClick:
    // gives an edit the focus; a button takes it as a click as well.
    void MouseClick(Timeout timeout = kDefaultTimeout) const;

    // Edits. Type posts one WM_CHAR per character (CR LF as one Return), so each
    // causes its own EN_CHANGE; SetText replaces the whole text with WM_SETTEXT.
    void Type(const std::string& text, Timeout timeout = kDefaultTimeout) const;
    void SetText(const std::string& text, Timeout timeout = kDefaultTimeout) const;
    // Posts WM_KEYDOWN and WM_KEYUP of a virtual key to this window.
    void PressKey(UINT virtualKey, Timeout timeout = kDefaultTimeout) const;

    // The title bar's buttons: WM_SYSCOMMAND posted, as a click on them does; returns
    // when the program has taken it (or has ended).
    void Close(Timeout timeout = kDefaultTimeout) const;
    void Minimize(Timeout timeout = kDefaultTimeout) const;

    // Message boxes (dialogs "#32770").
    std::string MessageText() const;
    void Answer(int buttonId, Timeout timeout = kDefaultTimeout) const; // IDOK, IDYES, ...

    // The menu bar of this window.
    Menu ReadMenuBar(Timeout timeout = kDefaultTimeout) const;
    // Clicks the title and the items down to the command `id` of the menu bar; returns
    // when the menu loop has ended.
    void ChooseFromMenuBar(int id, Timeout timeout = kDefaultTimeout) const;
    // Clicks a title of the menu bar and returns its open drop-down (close it again with
    // App::DismissMenu).
    Menu OpenMenuBarTitle(const std::string& title, Timeout timeout = kDefaultTimeout) const;
    // Posts WM_COMMAND(id) as the system does when a user picks a menu item.
    void PostMenuCommand(int id) const;

    // Sends a message and waits for its result; throws if it is not handled in time.
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam,
                 Timeout timeout = kDefaultTimeout) const;
    PendingCall SendAsync(UINT message, WPARAM wParam, LPARAM lParam) const;
    void Post(UINT message, WPARAM wParam, LPARAM lParam) const;
    // Waits until the window's thread has taken every message posted to it so far out
    // of its queue (a handler that opens a modal window counts as having taken it, and
    // the end of the program as having taken everything).
    void WaitUntilIdle(Timeout timeout = kDefaultTimeout) const;
    // Waits until the window is destroyed or hidden.
    void WaitUntilGone(Timeout timeout = kDefaultTimeout) const;

    std::string Describe() const; // handle, class and title, for messages

    bool operator==(const Window& other) const { return handle_ == other.handle_; }

  private:
    void RequireUsable(const char* action) const;
    std::pair<Window, Menu> OpenMenuBarTitle(const MenuItem& title, Timeout timeout) const;
    HWND handle_ = nullptr;
};

struct LaunchOptions {
    std::wstring program = BuildDir() + L"\\quarnel.exe";
    std::string arguments;        // appended to the quoted program name
    std::string workingDirectory; // empty: the test program's current directory
    std::vector<std::pair<std::string, std::string>> environment; // added or replaced
};

// A started program. Ends it (TerminateProcess) on destruction if it still runs.
class App {
  public:
    explicit App(LaunchOptions options = {});
    // Takes over a program that runs already (a copy that the program under test started
    // itself, say); it is then used and ended like a started one. Its main thread is the
    // thread it began with.
    explicit App(DWORD processId);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    DWORD ProcessId() const { return processId_; }
    DWORD MainThreadId() const { return mainThreadId_; }
    bool IsRunning() const;
    // Waits for the program to end and returns its exit code; throws on timeout.
    DWORD WaitForExit(Timeout timeout = kDefaultTimeout) const;
    void Terminate();

    // Top-level windows of the program, in Z order.
    std::vector<Window> TopLevelWindows(bool visibleOnly = true) const;
    std::optional<Window> FindWindow(const WindowQuery& query) const;
    Window WaitForWindow(const WindowQuery& query, Timeout timeout = kDefaultTimeout) const;
    void WaitForNoWindow(const WindowQuery& query, Timeout timeout = kDefaultTimeout) const;
    // A message box or other dialog (class "#32770") with exactly this title.
    Window WaitForMessageBox(const std::string& title, Timeout timeout = kDefaultTimeout) const;
    // "title [class]" of each visible top-level window, one per line, for messages.
    std::string DescribeWindows() const;

    // Delivers the tray icon's callback message (icon kTrayIconId) to `mainWindow` with
    // the mouse message as lParam: WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK, ...
    // Returns when the program has handled it or has entered a modal loop from it (the
    // popup menu).
    void Tray(const Window& mainWindow, UINT mouseMessage, Timeout timeout = kDefaultTimeout) const;

    // The open popup menu (TrackPopupMenu), its submenus included; nullopt if none.
    std::optional<Menu> ReadPopupMenu(Timeout timeout = kDefaultTimeout) const;
    Menu WaitForPopupMenu(Timeout timeout = kDefaultTimeout) const;
    bool PopupMenuOpen() const;
    // Clicks the items down to the command `id` in the open popup menu; the menu closes.
    void ChooseFromPopupMenu(int id, Timeout timeout = kDefaultTimeout) const;
    // Closes the open menu (popup or menu bar) with Escape, one level per key.
    void DismissMenu(Timeout timeout = kDefaultTimeout) const;
    // Whether the main thread is inside a menu loop (popup or menu bar).
    bool InMenuMode() const;

    // Posts WM_KEYDOWN and WM_KEYUP of a virtual key to the control that has the focus
    // in the main thread, and waits until the program has taken them.
    void PressKey(UINT virtualKey, Timeout timeout = kDefaultTimeout) const;

  private:
    std::optional<Window> TopPopupMenuWindow() const;

    UniqueHandle process_;
    DWORD processId_ = 0;
    DWORD mainThreadId_ = 0;
    std::string name_;
};

} // namespace quarnel::test
