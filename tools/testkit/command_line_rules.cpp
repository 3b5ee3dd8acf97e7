#include "testkit/command_line_rules.h"

#include <utility>

namespace test {

std::vector<std::wstring> SplitArguments(std::wstring_view line, DoubledQuote rule) {
    line = line.substr(0, line.find(L'\0'));
    const auto at = [&](size_t i) { return i < line.size() ? line[i] : L'\0'; };
    const auto isBlank = [](wchar_t c) { return c == L' ' || c == L'\t'; };

    std::vector<std::wstring> arguments;
    size_t i = 0;
    for (;;) {
        while (isBlank(at(i))) {
            ++i;
        }
        if (i >= line.size()) {
            return arguments;
        }
        std::wstring argument;
        bool quoted = false;
        while (i < line.size() && (quoted || !isBlank(line[i]))) {
            if (line[i] == L'\\') {
                size_t backslashes = 0;
                for (; at(i) == L'\\'; ++i) {
                    ++backslashes;
                }
                if (at(i) != L'"') {
                    argument.append(backslashes, L'\\');
                } else {
                    argument.append(backslashes / 2, L'\\');
                    if (backslashes % 2 == 1) {
                        argument += L'"'; // escaped; with an even count the quote is markup
                        ++i;
                    }
                }
            } else if (line[i] == L'"') {
                if (quoted && at(i + 1) == L'"') {
                    argument += L'"';
                    i += 2;
                    quoted = rule == DoubledQuote::KeepsQuoting;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument += line[i++];
            }
        }
        arguments.push_back(std::move(argument));
    }
}

} // namespace test
