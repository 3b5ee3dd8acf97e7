// From process start to the first wait for the user.
#pragma once

#include <windows.h>

namespace quarnel {

// Ends the process at once, silently, when a copy of the same file name runs.
void EnsureSingleInstance();
// Lets a copy started now run (the restart hands over to its successor).
void ReleaseSingleInstance();

[[noreturn]] void RunProgram(HINSTANCE instance);

} // namespace quarnel
