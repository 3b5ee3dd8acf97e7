#include "registry/registry_path.h"

#include <array>
#include <utility>

namespace quarnel {

namespace {

char FoldAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAsciiLetter(a[i]) != FoldAsciiLetter(b[i])) {
            return false;
        }
    }
    return true;
}

constexpr std::array<std::pair<std::string_view, RegistryRoot>, 5> kRoots{{
    {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
    {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
    {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
    {"HKEY_USERS", RegistryRoot::Users},
    {"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
}};

} // namespace

RegistryPath SplitRegistryPath(std::string_view path) {
    const size_t separator = path.find('\\');
    const std::string_view rootName = path.substr(0, separator);
    std::string_view subKey =
        (separator == std::string_view::npos) ? path : path.substr(separator + 1);
    if (!subKey.empty() && subKey.front() == '\\' && separator != std::string_view::npos) {
        subKey.remove_prefix(1);
    }

    RegistryPath result;
    for (const auto& [name, root] : kRoots) {
        if (EqualsIgnoringAsciiCase(rootName, name)) {
            result.root = root;
            result.subKey = std::string(subKey);
        }
    }
    return result;
}

} // namespace quarnel
