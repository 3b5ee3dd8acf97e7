// The one place where events of every window of the program are dispatched.
#pragma once

#include <windows.h>

namespace quarnel {

enum class EventKind { Gadget, Menu, Tray, Close, Other };

// What happened to a gadget. Push buttons tell a right click from a left click.
enum GadgetAction : int {
    kClicked = BN_CLICKED,
    kRightClicked = 0x7F01,
    kSelectionChanged = CBN_SELCHANGE,
    kTextChanged = EN_CHANGE,
};

struct Event {
    EventKind kind = EventKind::Other;
    int window = -1; // window number
    int number = 0;  // gadget or menu item number
    int action = 0;  // gadget: a GadgetAction or another notification; tray: the mouse message
};

void DispatchEvent(const Event& event);

// Turns a WM_COMMAND of one of the program's windows into an event and dispatches it.
void DispatchCommand(int window, WPARAM wParam, LPARAM lParam);

// What every window of the program turns into events alike: WM_COMMAND and the close
// request. True when the message was one of them.
bool ForwardWindowEvent(int window, UINT message, WPARAM wParam, LPARAM lParam);

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

// Waits for and dispatches events until the program ends.
[[noreturn]] void RunEventLoop();

} // namespace quarnel
