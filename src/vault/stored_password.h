// The stored form of a session's password (value "UlvasQuarnel_pw" in its key): the
// cipher bytes as a text value, or, when they hold a zero byte that would end a text, as
// a binary value.
#pragma once

#include <optional>
#include <string>

namespace quarnel {

// True only when the value reads back exactly as given.
bool StoreCipherText(const std::string& sessionKeyPath, const std::string& cipherText);
// The cipher bytes of either form; nothing when there is no readable, non-empty value.
std::optional<std::string> ReadCipherText(const std::string& sessionKeyPath);

} // namespace quarnel
