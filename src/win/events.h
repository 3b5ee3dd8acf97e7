// What happened to a gadget, and the program's own changes that must raise nothing.
#pragma once

#include <windows.h>

namespace quarnel {

// The notifications a gadget row can act on. Push buttons tell a right click (or the
// context-menu key) from a left click.
enum GadgetAction : int {
    kNoAction = -1,
    kClicked = BN_CLICKED,
    kRightClicked = 0x7F01,
    kSelectionChanged = CBN_SELCHANGE,
    kTextChanged = EN_CHANGE,
    kFocusLost = EN_KILLFOCUS,
    kDoubleClicked = LBN_DBLCLK,
};

// While one of these lives, texts, states and selections the program sets raise no
// event: Win32 reports them like the user's own (EN_CHANGE on WM_SETTEXT, ...).
class QuietChanges {
  public:
    QuietChanges() { ++depth_; }
    ~QuietChanges() { --depth_; }
    QuietChanges(const QuietChanges&) = delete;
    QuietChanges& operator=(const QuietChanges&) = delete;
    static bool Active() { return depth_ > 0; }

  private:
    static inline int depth_ = 0;
};

} // namespace quarnel
