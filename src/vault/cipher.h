// The password cipher: RC4 keyed with the MD5 digest of master password + a fixed
// suffix, through CryptoAPI. Enciphering and deciphering are the same operation.
#pragma once

#include <string>
#include <string_view>

namespace quarnel {

inline constexpr std::string_view PassPhraseSuffix =
    "ZimtwolkeSchaukelpferdTrallalaHoppsassaDudeldumm";

// The text enciphered (or deciphered) under the pass phrase. On a CryptoAPI failure an
// "Error" box is shown and the text comes back unchanged; `succeeded` tells which.
std::string PasswordCipher(const std::string& text, const std::string& passPhrase,
                           bool* succeeded = nullptr);
std::string PasswordEncrypt(const std::string& text, const std::string& masterPassword,
                            bool* succeeded = nullptr);
std::string PasswordDecrypt(const std::string& text, const std::string& masterPassword,
                            bool* succeeded = nullptr);

} // namespace quarnel
