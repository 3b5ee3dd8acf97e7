// The parameter texts PuTTY is started with. Window-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

// Whether a deciphered password can go on a command line (no control characters).
bool IsPasswordUsable(std::string_view password);

// The parameter texts of the five kinds of launch.
// The password part of a session start: "-pw" and the password as one argument; empty
// for a password that cannot go on a command line.
std::string PasswordPart(std::string_view password);
// The same for a password PuTTY reads from the file (a pipe) of that name.
std::string PasswordFilePart(std::string_view file);
// The password part, then " -load  " and the session's name in double quotes.
std::string SessionParameters(std::string_view keyName, std::string_view passwordPart);
std::string SshParameters(std::string_view host);
// The template is a shown name, loaded as it is.
std::string TemplateSshParameters(std::string_view templateName, std::string_view host);
std::string TelnetParameters(std::string_view host);

// PuttyPfad up to and with its last backslash; empty when it holds none.
std::string PuttyFolder(std::string_view puttyPath);

} // namespace quarnel
