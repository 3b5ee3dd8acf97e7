// Starting PuTTY as a process of its own.
#pragma once

#include <string>

namespace quarnel {

// Starts the file through the shell with the parameter text as it is. An empty working
// folder leaves the choice to the system. True when the system reports a started
// process; the process is never looked at again.
bool StartPuttyProcess(const std::string& puttyPath, const std::string& parameters,
                       const std::string& workingFolder);

} // namespace quarnel
