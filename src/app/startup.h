// From process start to the first wait for the user.
#pragma once

#include <windows.h>

#include <string>

namespace quarnel {

struct RunState;

// False when a copy of the same file name runs already: this one must end, silently.
bool EnsureSingleInstance(RunState& state);

// Everything start-up reads and asks before the first window opens: settings, the
// master password, PuTTY's sessions; makes the program key on a first run. True on a
// first run.
bool PrepareRun(RunState& state);

// Runs the program; returns its exit code.
int RunProgram(HINSTANCE instance);

} // namespace quarnel
