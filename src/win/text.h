// The program holds its texts as Windows-1252 bytes; Win32 is called through its
// W functions. These two helpers are the only place where the two meet, so the
// program behaves the same whatever the system's ANSI code page is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

// Windows-1252 bytes to UTF-16. A zero byte ends the text.
std::wstring Widen(std::string_view text);

// UTF-16 to Windows-1252 bytes; characters without a Windows-1252 form become '?'.
std::string Narrow(std::wstring_view text);

// UTF-16 to Windows-1252 bytes, or nothing when a character has no Windows-1252 form:
// for texts the program keeps, which must never change on the way in.
std::optional<std::string> NarrowExact(std::wstring_view text);

} // namespace quarnel
