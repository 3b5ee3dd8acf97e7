#include "testkit/command_line_rules.h"

#include <utility>

namespace test {

std::vector<std::string> SplitArguments(std::string_view line, DoubledQuote rule) {
    line = line.substr(0, line.find('\0'));
    const auto at = [&](size_t i) { return i < line.size() ? line[i] : '\0'; };
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };

    std::vector<std::string> arguments;
    size_t i = 0;
    for (;;) {
        while (isBlank(at(i))) {
            ++i;
        }
        if (i >= line.size()) {
            return arguments;
        }
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || !isBlank(line[i]))) {
            if (line[i] == '\\') {
                size_t backslashes = 0;
                for (; at(i) == '\\'; ++i) {
                    ++backslashes;
                }
                if (at(i) != '"') {
                    argument.append(backslashes, '\\');
                } else {
                    argument.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        argument += '"'; // escaped; with an even count the quote is markup
                        ++i;
                    }
                }
            } else if (line[i] == '"') {
                if (quoted && at(i + 1) == '"') {
                    argument += '"';
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
