#include "registry/registry.h"

#include "registry/predefined_key.h"
#include "registry/registry_key.h"
#include "registry/registry_path.h"
#include "registry/value_text.h"
#include "win/text.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
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

// Counted from the watcher's thread too.
std::atomic<uint64_t> platformCalls = 0;

// The program's values have always been read through a 255-byte buffer with the ANSI
// functions; the limits below keep that size through the wide functions.
constexpr DWORD kReadBufferBytes = 255;
constexpr DWORD kReadBufferChars = 255;
// The longest key name the registry allows, and its terminator.
constexpr DWORD kKeyNameChars = 256;

bool IsTextType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
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

RegistryValue ValueAsText(const RegistryKey::Value& value) {
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

// Opening an empty subkey hands back the predefined root itself, which is not ours to
// close.
bool IsPredefined(HKEY key) {
    const auto value = reinterpret_cast<ULONG_PTR>(key);
    return value >= 0x80000000u && value <= 0x800000FFu;
}

uint64_t Ticks(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void CloseKey(HKEY key) {
    if (key != nullptr && !IsPredefined(key)) {
        CountRegistryCall();
        RegCloseKey(key);
    }
}

} // namespace

void CountRegistryCall() {
    ++platformCalls;
}

uint64_t RegistryPlatformCallCount() {
    return platformCalls;
}

ResolvedPath::ResolvedPath(const std::string& path, const std::string& computer) {
    const RegistryPath split = SplitRegistryPath(path);
    const HKEY root = PredefinedKey(split.root);
    if (root == nullptr) {
        return;
    }
    subKey_ = Widen(split.subKey);
    // The program reads and writes only this computer's registry.
    if (computer == ".") {
        root_ = root;
    }
}

RegistryKey::RegistryKey(const std::string& path, const std::string& computer, Access access) {
    ResolvedPath resolved(path, computer);
    if (resolved.Root() == nullptr) {
        return;
    }
    HKEY key = nullptr;
    CountRegistryCall();
    // Looking asks for no particular rights, as the program always has; changing asks
    // for all of them.
    const LSTATUS status =
        access == Access::Look
            ? RegOpenKeyW(resolved.Root(), resolved.SubKey().c_str(), &key)
            : RegOpenKeyExW(resolved.Root(), resolved.SubKey().c_str(), 0, KEY_ALL_ACCESS, &key);
    if (status == ERROR_SUCCESS) {
        key_ = key;
    }
}

RegistryKey::~RegistryKey() {
    Close();
}

void RegistryKey::Close() {
    CloseKey(std::exchange(key_, nullptr));
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
        Close();
        key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
}

RegistryKey RegistryKey::OpenSubKey(const std::wstring& name) const {
    HKEY key = nullptr;
    CountRegistryCall();
    if (key_ == nullptr || RegOpenKeyW(key_, name.c_str(), &key) != ERROR_SUCCESS) {
        return RegistryKey();
    }
    return RegistryKey(key);
}

std::optional<std::wstring> RegistryKey::SubKeyName(DWORD index, uint64_t* writeTime) const {
    wchar_t name[kKeyNameChars];
    DWORD length = kKeyNameChars;
    FILETIME written{};
    CountRegistryCall();
    if (key_ == nullptr || RegEnumKeyExW(key_, index, name, &length, nullptr, nullptr, nullptr,
                                         &written) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    if (writeTime != nullptr) {
        *writeTime = Ticks(written);
    }
    return std::wstring(name, length);
}

std::optional<uint64_t> RegistryKey::LastWriteTime() const {
    FILETIME written{};
    CountRegistryCall();
    if (key_ == nullptr ||
        RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr, &written) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return Ticks(written);
}

std::optional<RegistryKey::Value> RegistryKey::QueryLimited(const std::string& valueName,
                                                            bool* unreadable) const {
    // Room for 255 wide characters, then the size limit of the value's own kind.
    std::vector<BYTE> buffer(kReadBufferChars * sizeof(wchar_t));
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD type = REG_NONE;
    CountRegistryCall();
    const LSTATUS status = key_ == nullptr ? ERROR_INVALID_HANDLE
                                           : RegQueryValueExW(key_, Widen(valueName).c_str(),
                                                              nullptr, &type, buffer.data(), &size);
    if (status != ERROR_SUCCESS) {
        if (unreadable != nullptr) {
            *unreadable = status != ERROR_FILE_NOT_FOUND && status != ERROR_MORE_DATA;
        }
        return std::nullopt;
    }
    const DWORD narrowSize = IsTextType(type) ? size / sizeof(wchar_t) : size;
    if (narrowSize > kReadBufferBytes) {
        return std::nullopt;
    }
    buffer.resize(size);
    return Value{type, std::move(buffer)};
}

std::optional<std::string> RegistryKey::QueryWholeText(const std::string& valueName) const {
    if (key_ == nullptr) {
        return std::nullopt;
    }
    const std::wstring name = Widen(valueName);
    DWORD type = REG_NONE;
    DWORD size = 0;
    CountRegistryCall();
    if (RegQueryValueExW(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::vector<BYTE> data(size);
    CountRegistryCall();
    if (RegQueryValueExW(key_, name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    data.resize(size);
    return TextFromData(data);
}

RegistryValue RegistryReadValue(const std::string& path, const std::string& valueName,
                                const std::string& computer) {
    const RegistryKey key(path, computer, RegistryKey::Access::Look);
    const std::optional<RegistryKey::Value> value = key.QueryLimited(valueName);
    return value ? ValueAsText(*value) : RegistryValue{};
}

std::string RegistryRead(const std::string& path, const std::string& valueName,
                         const std::string& computer) {
    return RegistryReadValue(path, valueName, computer).text;
}

std::optional<std::string> RegistryReadWholeText(const std::string& path,
                                                 const std::string& valueName,
                                                 const std::string& computer) {
    return RegistryKey(path, computer, RegistryKey::Access::Look).QueryWholeText(valueName);
}

int RegistryWrite(const std::string& path, const std::string& valueName, const std::string& text,
                  int valueType, const std::string& computer) {
    const RegistryKey key(path, computer, RegistryKey::Access::Change);
    if (!key) {
        return 0;
    }
    const std::wstring name = Widen(valueName);
    std::vector<BYTE> data;
    DWORD type = REG_NONE;
    switch (valueType) {
    case kRegSz:
    case kRegExpandSz: {
        const std::wstring wide = Widen(text);
        const auto* bytes = reinterpret_cast<const BYTE*>(wide.c_str());
        data.assign(bytes, bytes + (wide.size() + 1) * sizeof(wchar_t));
        type = valueType == kRegSz ? REG_SZ : REG_EXPAND_SZ;
        break;
    }
    case kRegDword: {
        const DWORD number = static_cast<DWORD>(ParseDecimal(text));
        const auto* bytes = reinterpret_cast<const BYTE*>(&number);
        data.assign(bytes, bytes + sizeof(number));
        type = REG_DWORD;
        break;
    }
    case kRegBinary: {
        const std::vector<uint8_t> bytes = ParseHexBytes(text);
        data.assign(bytes.begin(), bytes.end());
        type = REG_BINARY;
        break;
    }
    default:
        return 1;
    }
    CountRegistryCall();
    RegSetValueExW(key.Get(), name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
    return 1;
}

int RegistryProbe(const std::string& path, const std::string& valueName,
                  const std::string& computer) {
    return RegistryKey(path, computer, RegistryKey::Access::Look).QueryLimited(valueName) ? 1 : 0;
}

RegistryListing RegistryListSubKeys(
    const std::string& path, const std::string& valueName,
    const std::function<RegistrySubKeyStep(const std::string& name, uint64_t writeTime)>& step,
    const std::string& computer) {
    RegistryListing listing;
    const RegistryKey parent(path, computer, RegistryKey::Access::Look);
    if (!parent) {
        return listing;
    }
    // The key's own write time moves whenever a subkey is made or removed.
    const std::optional<uint64_t> before = parent.LastWriteTime();
    for (DWORD index = 0;; ++index) {
        RegistrySubKey sub;
        const std::optional<std::wstring> name = parent.SubKeyName(index, &sub.writeTime);
        if (!name) {
            break;
        }
        sub.name = Narrow(*name);
        const RegistrySubKeyStep next = step(sub.name, sub.writeTime);
        if (next == RegistrySubKeyStep::End) {
            listing.whole = false;
            return listing;
        }
        if (next == RegistrySubKeyStep::ReadValue) {
            if (const RegistryKey key = parent.OpenSubKey(*name)) {
                bool unreadable = false;
                const std::optional<RegistryKey::Value> value =
                    key.QueryLimited(valueName, &unreadable);
                if (!unreadable) {
                    sub.value = value ? ValueAsText(*value).text : std::string();
                }
            }
        }
        listing.subKeys.push_back(std::move(sub));
    }
    listing.whole = before && parent.LastWriteTime() == before;
    return listing;
}

int RegistryKeyExists(const std::string& path, const std::string& computer) {
    return RegistryKey(path, computer, RegistryKey::Access::Look) ? 1 : 0;
}

int RegistryCreateKey(const std::string& path, const std::string& computer) {
    const ResolvedPath resolved(path, computer);
    if (resolved.Root() == nullptr) {
        return 0;
    }
    HKEY key = nullptr;
    CountRegistryCall();
    if (RegCreateKeyExW(resolved.Root(), resolved.SubKey().c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return 0;
    }
    CloseKey(key);
    return 1;
}

int RegistryDeleteValue(const std::string& path, const std::string& valueName,
                        const std::string& computer) {
    const RegistryKey key(path, computer, RegistryKey::Access::Change);
    if (!key) {
        return 0;
    }
    CountRegistryCall();
    return RegDeleteValueW(key.Get(), Widen(valueName).c_str()) == ERROR_SUCCESS ? 1 : 0;
}

int RegistryDeleteTree(const std::string& path, const std::string& computer) {
    const ResolvedPath resolved(path, computer);
    // An empty subkey would name the root key itself.
    if (resolved.Root() == nullptr || resolved.SubKey().empty()) {
        return 0;
    }
    CountRegistryCall();
    const LSTATUS status = RegDeleteTreeW(resolved.Root(), resolved.SubKey().c_str());
    CountRegistryCall();
    if (status == ERROR_SUCCESS) {
        RegDeleteKeyW(resolved.Root(), resolved.SubKey().c_str());
    }
    return RegistryKeyExists(path, computer) ? 0 : 1;
}

bool RegistryValueExists(const std::string& path, const std::string& valueName,
                         const std::string& computer) {
    const RegistryKey key(path, computer, RegistryKey::Access::Look);
    CountRegistryCall();
    return key && RegQueryValueExW(key.Get(), Widen(valueName).c_str(), nullptr, nullptr, nullptr,
                                   nullptr) == ERROR_SUCCESS;
}

int RegistryWriteWideText(const std::string& path, const std::string& valueName,
                          const std::wstring& text) {
    const RegistryKey key(path, ".", RegistryKey::Access::Change);
    if (!key) {
        return 0;
    }
    CountRegistryCall();
    RegSetValueExW(key.Get(), Widen(valueName).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    return 1;
}

std::optional<std::wstring> RegistryReadWholeWideText(const std::string& path,
                                                      const std::string& valueName) {
    const RegistryKey key(path, ".", RegistryKey::Access::Look);
    const std::wstring name = Widen(valueName);
    DWORD type = REG_NONE;
    DWORD size = 0;
    CountRegistryCall();
    if (!key ||
        RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    CountRegistryCall();
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    text.resize(size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') {
        text.pop_back();
    }
    return text;
}

} // namespace quarnel
