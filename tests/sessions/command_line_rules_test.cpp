// The reference command-line splitter that the window-free checks of the parameter
// texts rely on, against the documented examples of the runtimes' rules.
#include "testkit/command_line_rules.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

using test::DoubledQuote;
using test::SplitArguments;
using Arguments = std::vector<std::string>;

TEST(CommandLineRules, DocumentedExamplesAndEdges) {
    const struct {
        std::string line;
        Arguments ending;  // DoubledQuote::EndsQuoting
        Arguments keeping; // DoubledQuote::KeepsQuoting
    } cases[] = {
        {R"("a b c" d e)", {"a b c", "d", "e"}, {"a b c", "d", "e"}},
        {R"("ab\"c" "\\" d)", {R"(ab"c)", R"(\)", "d"}, {R"(ab"c)", R"(\)", "d"}},
        {R"(a\\\b d"e f"g h)", {R"(a\\\b)", "de fg", "h"}, {R"(a\\\b)", "de fg", "h"}},
        {R"(a\\\"b c d)", {R"(a\"b)", "c", "d"}, {R"(a\"b)", "c", "d"}},
        {R"(a\\\\"b c" d e)", {R"(a\\b c)", "d", "e"}, {R"(a\\b c)", "d", "e"}},
        {R"(a"b"" c d)", {R"(ab")", "c", "d"}, {R"(ab" c d)"}},
        {R"("a""b c")", {R"(a"b)", "c"}, {R"(a"b c)"}},
        {R"("""")", {R"(")"}, {R"(")"}},
        {R"("" "")", {"", ""}, {"", ""}},
        {R"(a\\)", {R"(a\\)"}, {R"(a\\)"}},
        {R"("a\\")", {R"(a\)"}, {R"(a\)"}},
        {R"("a\\\"")", {R"(a\")"}, {R"(a\")"}},
        {"\"unclosed  tail", {"unclosed  tail"}, {"unclosed  tail"}},
        {" \t lead\ttrail \t", {"lead", "trail"}, {"lead", "trail"}},
        {"new\nline", {"new\nline"}, {"new\nline"}},
        {std::string("a b\0c d", 7), {"a", "b"}, {"a", "b"}},
        {"", {}, {}},
        {" \t", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(SplitArguments(c.line, DoubledQuote::EndsQuoting), c.ending);
        EXPECT_EQ(SplitArguments(c.line, DoubledQuote::KeepsQuoting), c.keeping);
    }
}

} // namespace
} // namespace quarnel
