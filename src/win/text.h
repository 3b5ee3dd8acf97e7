// The program holds its texts as Windows-1252 bytes; Win32 is called through its W
// functions. These converters are the only place where the two meet, so the program
// behaves the same whatever the system's ANSI code page is. Two other byte forms meet
// UTF-16 here too: the system's ANSI code page, in which PuTTY escapes its session names
// and reads its command line, and UTF-8, in which PuTTY sends a typed password.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

enum class CodePage {
    Program, // Windows-1252: what the user types and sees
    System,  // the system's ANSI code page
    Utf8,
};

// Bytes to UTF-16. A zero byte ends the text.
std::wstring Widen(std::string_view text, CodePage from = CodePage::Program);

// UTF-16 to Windows-1252 bytes; characters without a Windows-1252 form become '?'. For
// texts that are only looked at, never kept.
std::string Narrow(std::wstring_view text);

// UTF-16 to bytes, or nothing when a character has no form there: for texts the program
// keeps or hands on, which must never change on the way.
std::optional<std::string> NarrowExact(std::wstring_view text, CodePage to = CodePage::Program);

} // namespace quarnel
