// An independent reading of a Windows command line into arguments, following the
// documented rules of the C runtime and CommandLineToArgvW, so that window-free tests
// and fuzz targets can check the parameter texts without the system's splitter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace test {

// The runtimes differ in one point only: a doubled quote inside a quoted block gives a
// literal quote and ends the block (CommandLineToArgvW, msvcrt before Visual C++ 2008)
// or gives a literal quote and keeps the block open (the runtime since 2008).
enum class DoubledQuote { EndsQuoting, KeepsQuoting };

// The arguments of a command line that follow the program name: blanks and tabs
// separate them outside quotes, a zero character ends the line, 2n backslashes before a quote
// give n backslashes and the quote toggles quoting, 2n + 1 give n and a literal quote,
// and backslashes before anything else stay as they are.
std::vector<std::wstring> SplitArguments(std::wstring_view line, DoubledQuote rule);

} // namespace test
