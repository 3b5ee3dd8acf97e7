// Creating and reading the controls (gadgets) of the program's windows. Positions and
// sizes are given in pixels at 96 dpi and scaled to the window's resolution.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

namespace quarnel {

enum class GadgetKind {
    Label,        // static text, left-aligned
    CentredLabel, // static text, centred
    TextField,    // one-line edit, sunken, scrolls horizontally
    MaskedField,  // the same with its characters masked
    Button,       // push button; reports right clicks too
    CheckBox,     // automatic check box
    Frame,        // group box
    ListCombo,    // drop-down list
    EditCombo,    // drop-down combo with an edit field
};

struct GadgetSpec {
    int number;
    GadgetKind kind;
    int x, y, width, height;
    const char* text;
    int font = 0; // 1 to 6: that font of the program's table; 0: the default GUI font
};

// Registers a top-level window class of the program (its icon, arrow, dialog colour).
void RegisterWindowClass(const wchar_t* className, WNDPROC procedure);

// Creates the gadget as a child of the window, in its font.
HWND CreateGadget(HWND parent, const GadgetSpec& layout);

// Answers WM_DPICHANGED: the window takes the rectangle suggested, its gadgets their
// places and fonts at the new resolution.
void FollowDpiChange(HWND window, WPARAM wParam, LPARAM lParam,
                     std::span<const GadgetSpec> gadgets);

// Registers a tool tip for a control with the program's one tool tip control.
void AddToolTip(HWND control, const std::string& text);

// The window's outer size for a client area given at 96 dpi.
SIZE OuterSizeForClient(DWORD style, DWORD exStyle, int clientWidth, int clientHeight, UINT dpi);

// Top-left corner that centres a window of that outer size on the primary screen: half
// the screen minus half the window, the window capped at the screen size (so a larger
// window goes to the screen's top-left corner).
POINT CentredOnScreen(SIZE outer);

// The resolution of a window, or of the primary monitor for none (96 when it cannot tell).
UINT WindowDpi(HWND window);

// Texts of gadgets, quietly where they are set.
std::string GadgetText(HWND parent, int number);
void SetGadgetText(HWND parent, int number, const std::string& text);
bool IsGadgetChecked(HWND parent, int number);
void SetGadgetChecked(HWND parent, int number, bool checked);

// Combo boxes.
void AddComboEntry(HWND parent, int number, const std::string& text);
void SelectComboEntry(HWND parent, int number, int index);
int ComboSelection(HWND parent, int number);
std::string ComboEntry(HWND parent, int number, int index);
int ComboEntryCount(HWND parent, int number);

} // namespace quarnel
