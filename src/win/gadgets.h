// Creating and reading the controls (gadgets) of the program's windows. Positions and
// sizes are given in pixels at 96 dpi and scaled to the window's resolution.
#pragma once

#include "win/fonts.h"
#include "win/gadget_rows.h"

#include <windows.h>

#include <optional>
#include <span>
#include <string>

namespace quarnel {

// Creates the gadget as a child of the window, in its font.
HWND CreateGadget(HWND parent, const GadgetSpec& layout, Fonts& fonts, HINSTANCE instance);

// Answers WM_DPICHANGED: the window takes the rectangle suggested, its gadgets their
// places and fonts at the new resolution.
void FollowDpiChange(HWND window, WPARAM wParam, LPARAM lParam, std::span<const GadgetSpec> gadgets,
                     Fonts& fonts);

// The window's outer size for a client area given at 96 dpi.
SIZE OuterSizeForClient(DWORD style, DWORD exStyle, int clientWidth, int clientHeight, UINT dpi);

// Top-left corner that centres a window of that outer size on the primary screen: half
// the screen minus half the window, the window capped at the screen size (so a larger
// window goes to the screen's top-left corner).
POINT CentredOnScreen(SIZE outer);

// The resolution of a window, or of the primary monitor for none (96 when it cannot tell).
UINT WindowDpi(HWND window);

// Texts of gadgets; the program's own changes run no handler.
std::string GadgetText(HWND parent, int number);
// The text exactly as the system holds it, for what never passes through Windows-1252.
std::wstring WideGadgetText(HWND parent, int number);
// The text as typed, or nothing when it holds a character the program cannot keep.
std::optional<std::string> ExactGadgetText(HWND parent, int number);
void SetGadgetText(HWND parent, int number, const std::string& text);
bool IsGadgetChecked(HWND parent, int number);
void SetGadgetChecked(HWND parent, int number, bool checked);
void EnableGadget(HWND parent, int number, bool enabled);

// Combo boxes.
void AddComboEntry(HWND parent, int number, const std::string& text);
void SelectComboEntry(HWND parent, int number, int index);
int ComboSelection(HWND parent, int number);
std::string ComboEntry(HWND parent, int number, int index);
int ComboEntryCount(HWND parent, int number);

} // namespace quarnel
