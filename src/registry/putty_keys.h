// Where PuTTY keeps its saved sessions, and the values the program adds to a session's
// key. Sessions and passwords both address them.
#pragma once

#include <string>

namespace quarnel {

// A session key is this path + the key name.
inline const std::string SessionsKey =
    "HKEY_CURRENT_USER\\Software\\SimonTatham\\PuTTY\\Sessions\\";
inline const std::string MenuValueName = "UlvasQuarnel_Menu";
inline const std::string PasswordValueName = "UlvasQuarnel_pw";

} // namespace quarnel
