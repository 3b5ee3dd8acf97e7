#include "testkit/test_support.h"

#include "registry/predefined_key.h"
#include "win/text.h"

#include <windows.h>

#include <stdexcept>

namespace quarnel::test {

namespace {
HKEY RootOf(RegistryRoot root) {
    if (HKEY key = PredefinedKey(root)) {
        return key;
    }
    throw std::invalid_argument("no registry root");
}
} // namespace

void DeleteTree(const std::string& path) {
    const RegistryPath split = SplitRegistryPath(path);
    if (split.subKey.empty()) {
        throw std::invalid_argument("refusing to delete a root key");
    }
    RegDeleteTreeW(RootOf(split.root), Widen(split.subKey).c_str());
    RegDeleteKeyW(RootOf(split.root), Widen(split.subKey).c_str());
}

ScratchKey::ScratchKey(const std::string& name)
    : path_("HKEY_CURRENT_USER\\Software\\QuarnelTests\\" + name + "-" +
            std::to_string(GetCurrentProcessId())) {
    DeleteTree(path_);
}

ScratchKey::~ScratchKey() {
    DeleteTree(path_);
}

std::wstring BuildDir() {
    std::wstring dir = L"Z:" + Widen(QUARNEL_BUILD_DIR);
    for (wchar_t& c : dir) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return dir;
}

} // namespace quarnel::test
