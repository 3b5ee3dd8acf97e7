// The split of a registry path into its root and subkey.
#include "fuzz/fuzz_check.h"
#include "registry/registry_path.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using quarnel::RegistryRoot;

// Letters a-z only: no locale, and bytes above 127 never match a root name.
std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + ('a' - 'A'));
        }
    }
    return out;
}

RegistryRoot RootNamed(std::string_view name) {
    const std::string lower = Lower(name);
    if (lower == "hkey_classes_root") {
        return RegistryRoot::ClassesRoot;
    }
    if (lower == "hkey_current_user") {
        return RegistryRoot::CurrentUser;
    }
    if (lower == "hkey_local_machine") {
        return RegistryRoot::LocalMachine;
    }
    if (lower == "hkey_users") {
        return RegistryRoot::Users;
    }
    if (lower == "hkey_current_config") {
        return RegistryRoot::CurrentConfig;
    }
    return RegistryRoot::None;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view path(reinterpret_cast<const char*>(data), size);
    const quarnel::RegistryPath split = quarnel::SplitRegistryPath(path);

    const size_t separator = path.find('\\');
    const RegistryRoot root = RootNamed(path.substr(0, separator));
    FUZZ_CHECK(split.root == root);
    if (root == RegistryRoot::None) {
        FUZZ_CHECK(split.subKey.empty());
        return 0;
    }
    if (separator == std::string_view::npos) {
        FUZZ_CHECK(split.subKey == path); // a bare root name is its own subkey
        return 0;
    }
    // Root name, the separator, at most one more backslash, then the subkey as it was.
    const std::string_view rest = path.substr(separator + 1);
    const bool doubled = !rest.empty() && rest[0] == '\\';
    FUZZ_CHECK(rest.substr(doubled ? 1 : 0) == split.subKey);
    FUZZ_CHECK(split.subKey.size() + separator + 1 + (doubled ? 1 : 0) == path.size());
    return 0;
}
