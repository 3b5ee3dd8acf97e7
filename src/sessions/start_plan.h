// Everything a start of PuTTY is handed, decided in one place: the program, its whole
// parameter text, its working folder and the way a stored password goes over.
// Window-free: the caller reads the version resource, makes the pipe and starts the process.
#pragma once

#include "sessions/putty_version.h"

#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

enum class StartKind { Session, Ssh, SshWithTemplate, Telnet, PuttyAlone };
enum class PasswordRoute { None, Pipe, CommandLine };

struct StartRequest {
    StartKind kind = StartKind::PuttyAlone;
    std::wstring puttyPath;      // the PuTTY file, as the system takes it
    std::wstring startDirectory; // the program's start folder
    std::wstring session;        // Session: the name PuTTY knows the session by (escapes undone)
    std::wstring host;           // Ssh, SshWithTemplate, Telnet: the host field's text as typed
    std::wstring templateName;   // SshWithTemplate: the template session's name
    bool templateSetsSsh = true; // SshWithTemplate: the template's own protocol is SSH (or unset)
    std::optional<FileVersion> puttyVersion; // from the file's version resource; none without one
    // A session start with a stored password: the bytes PuTTY is to send (UTF-8), and what
    // each way of handing it over needs, prepared by the caller.
    std::optional<std::string> password;
    std::wstring pipePath; // \\.\pipe\... made for it; empty: none could be made
    // The -pw argument (unquoted) that makes this PuTTY send those bytes; none: the code
    // page cannot carry them.
    std::optional<std::wstring> passwordArgument;
};

struct StartPlan {
    std::wstring file;                         // the program to start
    std::wstring parameters;                   // the whole parameter text
    std::wstring folder;                       // working folder; empty: the system's default
    PasswordRoute route = PasswordRoute::None; // how the password goes; the caller serves the
                                               // pipe when Pipe
};

// Whether PuTTY can be handed the password at all: no control byte (below 0x20, 0x7F),
// which a wrong master password leaves and which would end the pipe's line early.
bool IsPasswordSendable(std::string_view password);

// Which way a password goes to this PuTTY: the pipe (-pwfile) unless the file says it is a
// release older than 0.77. Release builds carry file version 0.NN.0.0; pre-releases,
// snapshots and custom builds carry a build date in the third field, a build from sources
// without PuTTY's release script reads 0.0.0.0, and all of them get the pipe, as does a
// file without a version. Nothing ever puts a password on the command line unless the file
// says it is such an old release.
PasswordRoute RouteFor(const std::optional<FileVersion>& version);

// The start of the request's kind. A password goes only with a session start, and only
// when it is sendable and its route's means is there; otherwise the route is None and
// PuTTY asks. The password is in `parameters` only when the route is CommandLine.
StartPlan PlanStart(const StartRequest& request);

} // namespace quarnel
