// Starting PuTTY: a saved session, a direct connection to a typed host, or PuTTY alone.
// The launcher builds the parameter text and starts the process; what follows a start
// (ending, hiding, telling the user it failed) is up to the caller.
#pragma once

#include "sessions/putty_process.h"

#include <optional>
#include <string>

namespace quarnel {

enum class DirectKind { Ssh, SshWithTemplate, Telnet };

struct LaunchRequest {
    std::string parameters;
    std::string workingFolder; // empty: PuTTY's own folder
};

// A saved session by its key name; `passwordPart` comes first (PasswordPart,
// PasswordFilePart or nothing).
LaunchRequest SessionLaunch(const std::string& keyName, const std::string& passwordPart,
                            const std::string& startDirectory);
LaunchRequest DirectLaunch(DirectKind kind, const std::string& host,
                           const std::string& templateName);
// PuTTY without parameters, so that its own settings dialog opens.
LaunchRequest PuttyAloneLaunch();

// Starts PuttyPfad with the request; nothing when it names no file (a folder would open
// an Explorer window instead) or the system refuses the start.
std::optional<StartedProcess> LaunchPutty(const std::string& puttyPath,
                                          const LaunchRequest& request);

} // namespace quarnel
