#include "vault/stored_password.h"

#include "registry/registry.h"
#include "registry/value_text.h"
#include "registry/putty_keys.h"

#include <vector>

namespace quarnel {

bool StoreCipherText(const std::string& sessionKeyPath, const std::string& cipherText) {
    const bool text = cipherText.find('\0') == std::string::npos;
    const int written =
        text ? RegistryWrite(sessionKeyPath, PasswordValueName, cipherText, kRegSz, ".")
             : RegistryWrite(
                   sessionKeyPath, PasswordValueName,
                   FormatHexBytes(std::vector<uint8_t>(cipherText.begin(), cipherText.end())),
                   kRegBinary, ".");
    return written != 0 && ReadCipherText(sessionKeyPath).value_or("") == cipherText;
}

std::optional<std::string> ReadCipherText(const std::string& sessionKeyPath) {
    const RegistryValue value = RegistryReadValue(sessionKeyPath, PasswordValueName, ".");
    std::string cipher;
    if (value.type == kRegSz) {
        cipher = value.text;
    } else if (value.type == kRegBinary) {
        const std::vector<uint8_t> bytes = ParseHexBytes(value.text);
        cipher.assign(bytes.begin(), bytes.end());
    }
    if (cipher.empty()) {
        return std::nullopt;
    }
    return cipher;
}

} // namespace quarnel
