// A top-level window of the program, bound to its object for its whole life. The window
// handles its own controls: each row of its gadget table names the handler of an event,
// and the window calls it. What spans windows goes to the program through the host
// interface each window is given.
//
// A window ends by DestroyWindow (Close). Its object is told at WM_NCDESTROY and hands
// itself to its owner, which releases it once the handler that is running has returned,
// so a handler may close its own window and go on.
#pragma once

#include "win/events.h"
#include "win/fonts.h"
#include "win/gadgets.h"
#include "win/tool_tips.h"

#include <windows.h>

#include <span>
#include <string>
#include <vector>

namespace quarnel {

class TopWindow;

// Told when a window has gone, so that the object can go as soon as nothing of it runs.
class WindowOwner {
  public:
    virtual void WindowGone(TopWindow& window) = 0;

  protected:
    ~WindowOwner() = default;
};

// What every window needs from the program.
struct WindowEnv {
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;      // title bar and task bar, large
    HICON smallIcon = nullptr; // title bar, small
    Fonts* fonts = nullptr;
    ToolTips* toolTips = nullptr;
    WindowOwner* owner = nullptr; // null: the object outlives its window anyway
};

// One row of a window's gadget table: how the gadget looks and which of its events act,
// with the handler of each. The window creates its gadgets from these rows and routes
// their events by them, so adding a control is adding a row.
template <class W> struct GadgetRow {
    GadgetSpec layout;
    int action = kNoAction;
    void (W::*handler)() = nullptr;
    int secondAction = kNoAction; // a second event of the same gadget (a right click)
    void (W::*secondHandler)() = nullptr;
};

struct WindowPlacement {
    POINT corner;
    SIZE outer;
};

class TopWindow {
  public:
    explicit TopWindow(const WindowEnv& env) : env_(env) {}
    // A window still open goes without telling anybody.
    virtual ~TopWindow();
    TopWindow(const TopWindow&) = delete;
    TopWindow& operator=(const TopWindow&) = delete;

    HWND Handle() const { return window_; }
    // Ends the window; the object stays until its owner lets it go.
    void Close();
    // Brings the window to the foreground with the focus where it was.
    void BringToFront() const;

    // Tab, Shift+Tab, Return and Esc for whichever of the program's windows the message
    // is for, as in a dialog; true when the message has been handled so.
    static bool TranslateDialogKeys(MSG& message);

  protected:
    // Opens the window; false when the system refuses, and then nothing else is made.
    bool Open(const wchar_t* className, const std::string& title, DWORD style, DWORD exStyle,
              WindowPlacement placement, HWND owner = nullptr);
    // Creates the gadgets; their tool tips come with AddToolTips.
    void CreateGadgets(std::vector<GadgetSpec> gadgets);
    void AddToolTips();
    // Shows the window, made complete while hidden, centred on the screen with a client
    // area given at 96 dpi, at the window's own resolution.
    void ShowCentred(int clientWidth, int clientHeight);
    // Puts the keyboard focus on the first control that takes it.
    void FocusFirstControl() const;

    // Messages the window answers itself; the base routes commands, the dialog keys and
    // the close request, and follows resolution changes.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A gadget's notification; false when no row of the window acts on it.
    virtual bool OnGadget(int number, int action) = 0;
    // A menu item or a keyboard shortcut of the window.
    virtual void OnMenu(int /*item*/) {}
    // Return where no focused button takes it.
    virtual void OnDefault() {}
    // Esc.
    virtual void OnCancel() { Close(); }
    // The close box, Alt+F4, the system menu.
    virtual void OnCloseRequest() { Close(); }

    const WindowEnv env_;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    HWND lastFocus_ = nullptr; // given back when the window is activated again
    HWND opener_ = nullptr;    // in front when the window opened: it is given back the front
    std::vector<GadgetSpec> gadgets_;
};

// A window whose events are routed by the rows of W::Rows().
template <class W> class RowWindow : public TopWindow {
  public:
    using TopWindow::TopWindow;

  protected:
    void CreateGadgets() {
        std::vector<GadgetSpec> layouts;
        for (const GadgetRow<W>& row : W::Rows()) {
            layouts.push_back(row.layout);
        }
        TopWindow::CreateGadgets(std::move(layouts));
    }
    bool OnGadget(int number, int action) override {
        for (const GadgetRow<W>& row : W::Rows()) {
            if (row.layout.number != number) {
                continue;
            }
            auto* self = static_cast<W*>(this);
            if (row.handler != nullptr && row.action == action) {
                (self->*row.handler)();
                return true;
            }
            if (row.secondHandler != nullptr && row.secondAction == action) {
                (self->*row.secondHandler)();
                return true;
            }
            return false;
        }
        return false;
    }
};

} // namespace quarnel
