// How a textual registry path ("HKEY_CURRENT_USER\Software\...") splits into a
// predefined root key and a subkey. Window-free, so it is tested directly.
#pragma once

#include <string>
#include <string_view>

namespace quarnel {

enum class RegistryRoot { None, ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

struct RegistryPath {
    RegistryRoot root = RegistryRoot::None;
    std::string subKey;
};

// The root is the text before the first backslash (the whole text when there is none),
// one of five full names, letters a-z compared without case; anything else gives
// RegistryRoot::None. The subkey is the text after that backslash, one leading
// backslash removed (a doubled separator counts once); a trailing one stays.
RegistryPath SplitRegistryPath(std::string_view path);

} // namespace quarnel
