// A session name and a password, once quoted into PuTTY's parameter text, must come
// back as exactly the original arguments under the Windows command-line rules, read
// here by the reference splitter under both variants of the rules.
//
// Input: the session's key name, then optionally a line feed and the password.
#include "fuzz/fuzz_check.h"
#include "sessions/launch_params.h"
#include "sessions/session_name.h"
#include "testkit/command_line_rules.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

void CheckSplit(const std::string& parameters, const std::vector<std::string>& expected) {
    for (const auto rule : {test::DoubledQuote::EndsQuoting, test::DoubledQuote::KeepsQuoting}) {
        const bool same = test::SplitArguments(parameters, rule) == expected;
        if (!same) {
            std::fprintf(stderr, "parameters [%s] split otherwise under rule %d\n",
                         parameters.c_str(), static_cast<int>(rule));
        }
        FUZZ_CHECK(same);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t lineFeed = input.find('\n');
    const std::string keyName(input.substr(0, lineFeed));
    std::optional<std::string> password;
    if (lineFeed != std::string_view::npos) {
        password = std::string(input.substr(lineFeed + 1));
    }
    if (keyName.find('\0') != std::string::npos) {
        return 0; // no registry key name holds a zero byte
    }

    const std::string name = quarnel::SessionDisplayName(keyName);
    std::vector<std::string> expected;
    if (password && quarnel::IsPasswordUsable(*password)) {
        expected = {"-pw", *password};
    }
    expected.insert(expected.end(), {"-load", name});
    CheckSplit(quarnel::SessionParameters(keyName, password ? quarnel::PasswordPart(*password) : ""),
               expected);
    CheckSplit(quarnel::TemplateSshParameters(name, "host"), {"-load", name, "-ssh", "host"});
    return 0;
}
