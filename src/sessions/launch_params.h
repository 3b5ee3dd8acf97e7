// The parameter texts PuTTY is started with. Window-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

// Whether a deciphered password can go on a command line (no control characters).
bool IsPasswordUsable(std::string_view password);

// The parameter texts of the five kinds of launch.
std::string SessionParameters(std::string_view keyName, const std::optional<std::string>& password);
std::string SshParameters(std::string_view host);
// The template is a shown name, loaded as it is.
std::string TemplateSshParameters(std::string_view templateName, std::string_view host);
std::string TelnetParameters(std::string_view host);

// PuttyPfad up to and with its last backslash; empty when it holds none.
std::string PuttyFolder(std::string_view puttyPath);

} // namespace quarnel
