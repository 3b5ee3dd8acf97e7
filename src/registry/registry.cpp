#include "registry/registry.h"

#include "registry/predefined_key.h"
#include "registry/value_text.h"
#include "win/handles.h"
#include "win/text.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace quarnel {

HKEY PredefinedKey(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users:
        return HKEY_USERS;
    case RegistryRoot::CurrentConfig:
        return HKEY_CURRENT_CONFIG;
    case RegistryRoot::None:
        break;
    }
    return nullptr;
}

namespace {

uint64_t operationCount = 0;

// The program's values have always been read through a 255-byte buffer with the
// ANSI functions; the limits below keep that size through the wide functions.
constexpr DWORD kReadBufferBytes = 255;
constexpr DWORD kReadBufferChars = 255;
constexpr DWORD kKeyNameChars = 255;

// The root of a path on the chosen computer. For a remote computer the connection is
// owned by `connection`; for the local one the predefined key is used directly.
struct ResolvedPath {
    HKEY root = nullptr;
    UniqueKey connection;
    std::wstring subKey;
};

bool Resolve(const std::string& path, const std::string& computer, ResolvedPath& out) {
    ++operationCount;
    const RegistryPath split = SplitRegistryPath(path);
    HKEY root = PredefinedKey(split.root);
    if (root == nullptr) {
        return false;
    }
    out.subKey = Widen(split.subKey);
    if (computer == ".") {
        out.root = root;
        return true;
    }
    HKEY remote = nullptr;
    if (RegConnectRegistryW(Widen(computer).c_str(), root, &remote) != ERROR_SUCCESS) {
        return false;
    }
    out.connection.reset(remote);
    out.root = remote;
    return true;
}

// Opening to look (read, probe, list, existence test) asks for no particular rights.
UniqueKey OpenToLook(const ResolvedPath& resolved) {
    HKEY key = nullptr;
    if (RegOpenKeyW(resolved.root, resolved.subKey.c_str(), &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return UniqueKey(key);
}

UniqueKey OpenToChange(const ResolvedPath& resolved) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(resolved.root, resolved.subKey.c_str(), 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS) {
        return nullptr;
    }
    return UniqueKey(key);
}

bool IsTextType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

struct QueriedValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// Queries a value through the fixed-size buffer; false when it is missing or too large.
bool QueryLimited(HKEY key, const std::string& valueName, QueriedValue& out) {
    // Room for 255 wide characters, then the size limit of the value's own kind.
    std::vector<BYTE> buffer(kReadBufferChars * sizeof(wchar_t));
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD type = REG_NONE;
    if (RegQueryValueExW(key, Widen(valueName).c_str(), nullptr, &type, buffer.data(), &size) !=
        ERROR_SUCCESS) {
        return false;
    }
    const DWORD narrowSize = IsTextType(type) ? size / sizeof(wchar_t) : size;
    if (narrowSize > kReadBufferBytes) {
        return false;
    }
    buffer.resize(size);
    out.type = type;
    out.data = std::move(buffer);
    return true;
}

std::string TextFromData(const std::vector<BYTE>& data) {
    // The stored size counts a terminating zero; a value stored without one loses its
    // last character, exactly as it always has.
    const size_t chars = data.size() / sizeof(wchar_t);
    std::wstring text(chars, L'\0');
    std::copy_n(data.data(), chars * sizeof(wchar_t), reinterpret_cast<BYTE*>(text.data()));
    if (!text.empty()) {
        text.pop_back();
    }
    return Narrow(text); // Narrow stops at the first zero character
}

} // namespace

RegistryValue RegistryReadValue(const std::string& path, const std::string& valueName,
                                const std::string& computer) {
    ResolvedPath resolved;
    if (!Resolve(path, computer, resolved)) {
        return {};
    }
    const UniqueKey key = OpenToLook(resolved);
    QueriedValue value;
    if (!key || !QueryLimited(key.get(), valueName, value)) {
        return {};
    }
    switch (value.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
        return {static_cast<int>(value.type), TextFromData(value.data)};
    case REG_DWORD: {
        uint32_t number = 0;
        std::copy_n(value.data.data(), std::min<size_t>(value.data.size(), sizeof(number)),
                    reinterpret_cast<BYTE*>(&number));
        return {kRegDword, FormatDecimal(static_cast<int32_t>(number))};
    }
    case REG_BINARY:
        return {kRegBinary,
                FormatHexBytes(std::vector<uint8_t>(value.data.begin(), value.data.end()))};
    default:
        return {};
    }
}

std::string RegistryRead(const std::string& path, const std::string& valueName,
                         const std::string& computer) {
    return RegistryReadValue(path, valueName, computer).text;
}

int RegistryWrite(const std::string& path, const std::string& valueName, const std::string& text,
                  int valueType, const std::string& computer) {
    ResolvedPath resolved;
    if (!Resolve(path, computer, resolved)) {
        return 0;
    }
    const UniqueKey key = OpenToChange(resolved);
    if (!key) {
        return 0;
    }
    const std::wstring name = Widen(valueName);
    switch (valueType) {
    case kRegSz:
    case kRegExpandSz: {
        const std::wstring wide = Widen(text);
        RegSetValueExW(key.get(), name.c_str(), 0, valueType == kRegSz ? REG_SZ : REG_EXPAND_SZ,
                       reinterpret_cast<const BYTE*>(wide.c_str()),
                       static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
        break;
    }
    case kRegDword: {
        const DWORD number = static_cast<DWORD>(ParseDecimal(text));
        RegSetValueExW(key.get(), name.c_str(), 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&number), sizeof(number));
        break;
    }
    case kRegBinary: {
        const std::vector<uint8_t> bytes = ParseHexBytes(text);
        RegSetValueExW(key.get(), name.c_str(), 0, REG_BINARY, bytes.data(),
                       static_cast<DWORD>(bytes.size()));
        break;
    }
    default:
        break;
    }
    return 1;
}

int RegistryProbe(const std::string& path, const std::string& valueName,
                  const std::string& computer) {
    ResolvedPath resolved;
    if (!Resolve(path, computer, resolved)) {
        return 0;
    }
    const UniqueKey key = OpenToLook(resolved);
    QueriedValue value;
    return key && QueryLimited(key.get(), valueName, value) ? 1 : 0;
}

std::string RegistryListSubKey(const std::string& path, int index, const std::string& computer) {
    ResolvedPath resolved;
    if (index < 0 || !Resolve(path, computer, resolved)) {
        return {};
    }
    const UniqueKey key = OpenToLook(resolved);
    if (!key) {
        return {};
    }
    wchar_t name[kKeyNameChars];
    DWORD length = kKeyNameChars;
    if (RegEnumKeyExW(key.get(), static_cast<DWORD>(index), name, &length, nullptr, nullptr,
                      nullptr, nullptr) != ERROR_SUCCESS) {
        return {};
    }
    return Narrow(std::wstring_view(name, length));
}

int RegistryKeyExists(const std::string& path, const std::string& computer) {
    ResolvedPath resolved;
    return Resolve(path, computer, resolved) && OpenToLook(resolved) ? 1 : 0;
}

int RegistryCreateKey(const std::string& path, const std::string& computer) {
    ResolvedPath resolved;
    if (!Resolve(path, computer, resolved)) {
        return 0;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExW(resolved.root, resolved.subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return 0;
    }
    RegCloseKey(key);
    return 1;
}

int RegistryDeleteValue(const std::string& path, const std::string& valueName,
                        const std::string& computer) {
    ResolvedPath resolved;
    if (!Resolve(path, computer, resolved)) {
        return 0;
    }
    const UniqueKey key = OpenToChange(resolved);
    return key && RegDeleteValueW(key.get(), Widen(valueName).c_str()) == ERROR_SUCCESS ? 1 : 0;
}

int RegistryDeleteKey(const std::string& path, const std::string& computer) {
    ResolvedPath resolved;
    // An empty subkey would name the root key itself.
    if (!Resolve(path, computer, resolved) || resolved.subKey.empty()) {
        return 0;
    }
    return RegDeleteKeyW(resolved.root, resolved.subKey.c_str()) == ERROR_SUCCESS ? 1 : 0;
}

uint64_t RegistryOperationCount() {
    return operationCount;
}

} // namespace quarnel
