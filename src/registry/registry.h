// Every registry access of the program goes through these operations. A key is
// addressed by its textual path (see registry_path.h); values travel as Windows-1252
// texts. Failures never raise anything: they come back as the empty text or 0. Each
// operation opens what it needs, closes it again and keeps nothing between calls.
//
// The computer name "." means the local registry, the only one the program uses; any
// other name fails as a missing key does.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quarnel {

// Value type numbers understood by RegistryRead and RegistryWrite.
enum RegistryValueType : int {
    kRegSz = 1,       // text
    kRegExpandSz = 2, // text, environment references left as they are
    kRegBinary = 3,   // two upper-case hexadecimal digits per byte
    kRegDword = 4,    // signed decimal
};

// A text value longer than 254 characters, or any other value of more than 255 bytes,
// reads as the empty text.
std::string RegistryRead(const std::string& path, const std::string& valueName,
                         const std::string& computer);
// RegistryRead together with the value's type number (kRegSz ... kRegDword); type 0
// and the empty text when it cannot be read or is of another type.
struct RegistryValue {
    int type = 0;
    std::string text;
};
RegistryValue RegistryReadValue(const std::string& path, const std::string& valueName,
                                const std::string& computer);
// 1 when the key could be opened (the key is never created), else 0.
int RegistryWrite(const std::string& path, const std::string& valueName, const std::string& text,
                  int valueType, const std::string& computer);
// 1 when the value exists and is no larger than RegistryRead can read, else 0.
int RegistryProbe(const std::string& path, const std::string& valueName,
                  const std::string& computer);
int RegistryKeyExists(const std::string& path, const std::string& computer);
// 1 when the key exists afterwards; missing keys along the path are created.
int RegistryCreateKey(const std::string& path, const std::string& computer);
int RegistryDeleteValue(const std::string& path, const std::string& valueName,
                        const std::string& computer);

// A text value of any length, for verifying what was written beyond what RegistryRead
// reads back; nothing when it is missing, unreadable or not a text.
std::optional<std::string> RegistryReadWholeText(const std::string& path,
                                                 const std::string& valueName,
                                                 const std::string& computer);

// A subkey as RegistryListSubKeys found it.
struct RegistrySubKey {
    std::string name;
    uint64_t writeTime = 0; // when the subkey was last written: 100-ns steps since 1601
    // The named value as RegistryRead reads it (empty when missing or too large); nothing
    // when it was not asked for, or the subkey or its value may not be read.
    std::optional<std::string> value;
};
struct RegistryListing {
    std::vector<RegistrySubKey> subKeys; // the registry's order
    // False when subkeys came or went while they were listed (one may have been passed
    // over or listed twice), or the listing was ended early.
    bool whole = true;
};
// What RegistryListSubKeys does with a subkey it found.
enum class RegistrySubKeyStep { List, ReadValue, End };
// Every subkey of the key with its write time, through one open of the key; `step` says
// of each whether its named value is read too, relative to the key, or the listing ends
// there. Nothing is listed when the key cannot be opened.
RegistryListing RegistryListSubKeys(
    const std::string& path, const std::string& valueName,
    const std::function<RegistrySubKeyStep(const std::string& name, uint64_t writeTime)>& step,
    const std::string& computer);

// A text value of any characters and length, for what never passes through
// Windows-1252 (a file path the system gave); 1 when the key could be opened.
int RegistryWriteWideText(const std::string& path, const std::string& valueName,
                          const std::wstring& text);
std::optional<std::wstring> RegistryReadWholeWideText(const std::string& path,
                                                      const std::string& valueName);

// Deletes a key with all its subkeys and values; 1 when it is gone afterwards.
int RegistryDeleteTree(const std::string& path, const std::string& computer);

// Whether the value exists at all, whatever its type and size.
bool RegistryValueExists(const std::string& path, const std::string& valueName,
                         const std::string& computer);

// How many calls into the system's registry functions this process has made; the
// start-up benchmark reports them per session.
uint64_t RegistryPlatformCallCount();

} // namespace quarnel
