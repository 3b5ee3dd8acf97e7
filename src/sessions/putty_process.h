// Starting PuTTY as a process of its own.
#pragma once

#include "sessions/start_plan.h"
#include "win/handles.h"

#include <windows.h>

#include <optional>
#include <string>

namespace quarnel {

struct StartedProcess {
    UniqueHandle process;
    DWORD id = 0;
};

// Starts the plan's file through the shell with its parameter text as it is, in its
// folder (empty: the system's choice). Nothing when the file is no readable file (a
// folder would open an Explorer window instead) or the system reports no started process.
std::optional<StartedProcess> StartPutty(const StartPlan& plan);

} // namespace quarnel
