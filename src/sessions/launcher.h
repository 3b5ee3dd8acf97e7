// Starting PuTTY: a saved session from a menu, a direct connection to the host typed in
// the main window, or PuTTY alone; then ending or hiding the program as set.
#pragma once

#include <string>

namespace quarnel {

enum class DirectKind { Ssh, SshWithTemplate, Telnet };

// Starts PuttyPfad with the parameters; an empty working folder means PuTTY's own.
bool LaunchPutty(const std::string& parameters, const std::string& workingFolder);

// The session behind menu item `item` (1000 + k).
void LaunchSession(int item);
// A connection to the host in the main window's host field.
void LaunchDirect(DirectKind kind);
// PuTTY without parameters, so that its own settings dialog opens.
void LaunchPuttyAlone();

void AfterLaunch();

} // namespace quarnel
