// The program's one tool tip control, shared by all its windows and made on first use.
// A window removes its tools when it goes, so opening and closing windows any number of
// times leaves the control as it was.
#pragma once

#include "win/handles.h"

#include <windows.h>

#include <string>

namespace quarnel {

class ToolTips {
  public:
    explicit ToolTips(HINSTANCE instance) : instance_(instance) {}

    // A plain tool tip shown while the mouse rests on the control.
    void Add(HWND control, const std::string& text);
    // Removes the tools of every control of the window.
    void RemoveAll(HWND window);
    int Count() const;

  private:
    HWND Control();
    HINSTANCE instance_;
    UniqueWindow tip_;
};

} // namespace quarnel
