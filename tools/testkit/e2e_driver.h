// The real quarnel.exe started as a process of its own and used from outside through
// window messages, for what only a separate process shows. Every wait has a deadline.
#pragma once

#include "testkit/window_text.h"
#include "win/handles.h"

#include <windows.h>

#include <functional>
#include <string>

namespace quarnel::test {

// Polls until `condition` holds; a failed test assertion when ten seconds pass first.
bool Await(const std::function<bool()>& condition, const std::string& what);

class Program {
  public:
    // Starts the quarnel.exe of the build tree.
    Program();
    // A copy that runs already, taken over by its process id.
    explicit Program(DWORD processId);
    ~Program(); // ends it if it still runs
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Running() const;
    // Its exit code once it has ended; ~0u when it is still running after the deadline.
    DWORD WaitForExit() const;

    // A visible top-level window of the program whose title begins so; null after the
    // deadline. With `className`, only windows of that class ("#32770": a message box).
    HWND WaitForWindow(const std::string& titlePrefix, const wchar_t* className = nullptr) const;

  private:
    UniqueHandle process_;
    DWORD id_ = 0;
};

// A click on a gadget as its window hears it, and a menu item or shortcut picked; both
// posted, so a box the handler opens holds nobody up.
void PostClick(HWND window, int gadget);
void PostCommand(HWND window, int item);
// Answers a message box with IDOK, IDYES or IDNO.
void Answer(HWND box, int button);
// Keys pressed together and released, as the keyboard gives them to whoever holds them.
void PressKeys(std::initializer_list<WORD> keys);

} // namespace quarnel::test
