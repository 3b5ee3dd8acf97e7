// A top-level window of the program, bound to its object for its whole life: the window
// procedure finds the object, the object owns the window and destroys it when it goes.
// Every gadget command and the close request become events for the program's one
// dispatcher; what else a window answers is up to the derived class.
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

// What every window needs from the program.
struct WindowEnv {
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;      // title bar and task bar, large
    HICON smallIcon = nullptr; // title bar, small
    Fonts* fonts = nullptr;
    ToolTips* toolTips = nullptr;
    EventSink* events = nullptr;
};

// One row of a window's gadget table: how the gadget looks and which of its events act,
// with the handler of each. The window creates its gadgets from these rows and the
// program's dispatcher routes by them, so adding a control is adding a row.
template <class W> struct GadgetRow {
    GadgetSpec layout;
    int action = kNoAction;
    void (W::*handler)() = nullptr;
    int secondAction = kNoAction; // a second event of the same gadget (a right click)
    void (W::*secondHandler)() = nullptr;
};

template <class W> std::vector<GadgetSpec> LayoutsOf(std::span<const GadgetRow<W>> rows) {
    std::vector<GadgetSpec> layouts;
    layouts.reserve(rows.size());
    for (const GadgetRow<W>& row : rows) {
        layouts.push_back(row.layout);
    }
    return layouts;
}

struct WindowPlacement {
    POINT corner;
    SIZE outer;
};

class TopWindow {
  public:
    TopWindow(const WindowEnv& env, int number) : env_(env), number_(number) {}
    virtual ~TopWindow();
    TopWindow(const TopWindow&) = delete;
    TopWindow& operator=(const TopWindow&) = delete;

    HWND Handle() const { return window_; }
    int Number() const { return number_; }
    bool IsOpen() const { return window_ != nullptr; }

  protected:
    // Opens the window; false when the system refuses, and then nothing else is made.
    bool Open(const wchar_t* className, const std::string& title, DWORD style, DWORD exStyle,
              WindowPlacement placement, HWND owner = nullptr);
    // Creates the gadgets in this order (the tab order), each with its tool tip.
    void CreateGadgets(std::vector<GadgetSpec> gadgets);

    // Messages the window answers itself; the base turns commands and the close request
    // into events and follows resolution changes.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Raise(const Event& event) const;

    const WindowEnv env_;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    int number_;
    std::vector<GadgetSpec> gadgets_;
};

} // namespace quarnel
