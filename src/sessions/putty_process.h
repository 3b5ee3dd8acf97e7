// Starting PuTTY as a process of its own.
#pragma once

#include "win/handles.h"

#include <windows.h>

#include <optional>
#include <string>

namespace quarnel {

struct StartedProcess {
    UniqueHandle process;
    DWORD id = 0;
};

// Starts the file through the shell with the parameter text as it is. An empty working
// folder leaves the choice to the system. Nothing when the system reports no started
// process.
std::optional<StartedProcess> StartPuttyProcess(const std::string& puttyPath,
                                                const std::string& parameters,
                                                const std::string& workingFolder);

} // namespace quarnel
