// What a window of the program reports: a gadget event, a menu event, a tray event or a
// close request, each with the fixed numbers by which the program dispatches it.
#pragma once

#include <windows.h>

namespace quarnel {

enum class EventKind { Gadget, Menu, Tray, Close };

// What happened to a gadget. Push buttons tell a right click from a left click.
enum GadgetAction : int {
    kNoAction = -1,
    kClicked = BN_CLICKED,
    kRightClicked = 0x7F01,
    kSelectionChanged = CBN_SELCHANGE,
    kTextChanged = EN_CHANGE,
    kDoubleClicked = LBN_DBLCLK,
};

struct Event {
    EventKind kind = EventKind::Gadget;
    int window = -1; // window number
    int number = 0;  // gadget or menu item number
    int action = 0;  // gadget: a GadgetAction or another notification; tray: the mouse message
};

// Where the windows send their events: the program's one dispatcher.
class EventSink {
  public:
    virtual void OnEvent(const Event& event) = 0;

  protected:
    ~EventSink() = default;
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
