// A saved session's name: the key name exactly as PuTTY stored it, and the name PuTTY
// and the user know it by. Window-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

// The name a key stands for: every %XX escape PuTTY wrote undone (hex digits of either
// case), except "%00", which would end the name wherever it goes; a "%" that starts no
// escape stays as it is. The bytes are in the system's code page, as PuTTY wrote them.
std::string SessionDisplayName(std::string_view keyName);

// The template session as it is to be shown and loaded. Earlier versions stored it with
// only its blanks decoded ("B%FCro"); such a text still names its session.
std::string TemplateSessionName(const std::string& stored, const std::vector<std::string>& keys);

} // namespace quarnel
