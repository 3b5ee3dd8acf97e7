// The split of a registry path into its root and subkey.
#include "fuzz/fuzz_check.h"
#include "registry/registry_path.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace {

using quarnel::RegistryRoot;

// Letters A-Z folded only: no locale, and bytes above 127 never match a root name.
RegistryRoot RootNamed(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
    }
    const std::pair<const char*, RegistryRoot> roots[] = {
        {"hkey_classes_root", RegistryRoot::ClassesRoot},
        {"hkey_current_user", RegistryRoot::CurrentUser},
        {"hkey_local_machine", RegistryRoot::LocalMachine},
        {"hkey_users", RegistryRoot::Users},
        {"hkey_current_config", RegistryRoot::CurrentConfig}};
    for (const auto& [text, root] : roots) {
        if (lower == text) {
            return root;
        }
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
    if (root == RegistryRoot::None || separator == std::string_view::npos) {
        // Nothing, or a bare root name, which is its own subkey.
        FUZZ_CHECK(split.subKey == (root == RegistryRoot::None ? "" : path));
        return 0;
    }
    // After the separator at most one more backslash goes, the rest stays as it was.
    std::string_view rest = path.substr(separator + 1);
    if (!rest.empty() && rest[0] == '\\') {
        rest.remove_prefix(1);
    }
    FUZZ_CHECK(split.subKey == rest);
    return 0;
}
