// The password handed to PuTTY when a saved session is started from a menu.
#pragma once

#include <optional>
#include <string>

namespace quarnel {

// The stored password of the session (key name as enumerated, blanks still "%20"),
// deciphered under the master password; none when the password function is off or the
// session holds no stored value. A wrong master password is not detected.
std::optional<std::string> LookupSessionPassword(const std::string& keyName,
                                                 bool passwordFunctionOn,
                                                 const std::string& masterPassword);

} // namespace quarnel
