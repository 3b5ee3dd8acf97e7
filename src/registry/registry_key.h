// An open registry key, closed when it goes. Inside the registry layer only: the rest of
// the program addresses keys by their textual paths (registry.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quarnel {

// Counts every call into the registry functions of the system, so that a benchmark can
// tell what start-up costs per session.
void CountRegistryCall();

class RegistryKey {
  public:
    enum class Access { Look, Change };

    RegistryKey() = default;
    // The key of a textual path on a computer ("." the local one); empty when it cannot
    // be opened.
    RegistryKey(const std::string& path, const std::string& computer, Access access);
    ~RegistryKey();
    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    explicit operator bool() const { return key_ != nullptr; }
    HKEY Get() const { return key_; }

    // A subkey, opened to look.
    RegistryKey OpenSubKey(const std::wstring& name) const;
    // The name of the subkey at the index, and when it was last written; nothing past the
    // last one or on any error.
    std::optional<std::wstring> SubKeyName(DWORD index, uint64_t* writeTime = nullptr) const;
    // When the key itself was last written: a value set or deleted, a subkey made or
    // removed.
    std::optional<uint64_t> LastWriteTime() const;

    struct Value {
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };
    // The value through the program's fixed-size buffer: nothing when it is missing or
    // larger than 255 bytes (a text of more than 254 characters). `unreadable`, when given,
    // tells a value that is there but may not be read from one missing or too large.
    std::optional<Value> QueryLimited(const std::string& valueName,
                                      bool* unreadable = nullptr) const;
    // A text value of any length; nothing when missing, unreadable or not a text.
    std::optional<std::string> QueryWholeText(const std::string& valueName) const;

  private:
    explicit RegistryKey(HKEY key) : key_(key) {}
    void Close();
    HKEY key_ = nullptr;
};

// A path split and its root chosen, for the operations that work on the root itself
// (creating and deleting keys).
class ResolvedPath {
  public:
    ResolvedPath(const std::string& path, const std::string& computer);
    ResolvedPath(const ResolvedPath&) = delete;
    ResolvedPath& operator=(const ResolvedPath&) = delete;

    HKEY Root() const { return root_; }
    const std::wstring& SubKey() const { return subKey_; }

  private:
    HKEY root_ = nullptr;
    std::wstring subKey_;
};

} // namespace quarnel
