// How the system's own command-line splitter reads the parameter texts back.
#include "sessions/launch_params.h"
#include "testkit/command_line_rules.h"
#include "win/text.h"

#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cctype>
#include <random>

namespace quarnel {
namespace {

// The arguments a program started with "putty.exe " + parameters receives, after its name.
std::vector<std::string> SplitParameters(const std::string& parameters) {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(Widen("putty.exe " + parameters).c_str(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.push_back(Narrow(argv[i]));
    }
    LocalFree(argv);
    return arguments;
}

// Whatever the name and password hold, PuTTY gets each of them back as one argument.
TEST(LaunchParams, GeneratedNamesAndPasswordsSplitBackExactly) {
    const std::string nameAlphabet = "aZ9 \t\"\\%/*üß-.";
    const std::string passwordAlphabet = "aZ9 \"\\%üß€-\x01\x7F";
    std::mt19937 random(20240611);
    const auto pick = [&](const std::string& alphabet) {
        std::string text(random() % 9, ' ');
        for (char& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        return text;
    };
    const auto escape = [&](const std::string& name) {
        static const char hex[] = "0123456789ABCDEF0123456789abcdef";
        std::string keyName;
        for (const char c : name) {
            const auto byte = static_cast<unsigned char>(c);
            const bool plain = std::isalnum(byte) && byte < 0x80;
            if (plain && random() % 4 != 0) {
                keyName += c;
            } else {
                const int offset = (random() % 2) * 16;
                keyName += '%';
                keyName += hex[offset + (byte >> 4)];
                keyName += hex[offset + (byte & 15)];
            }
        }
        return keyName;
    };

    for (int i = 0; i < 2000; ++i) {
        const std::string name = pick(nameAlphabet);
        const std::string password = pick(passwordAlphabet);
        const bool withPassword = random() % 4 != 0;
        const std::string keyName = escape(name);
        const std::string parameters =
            SessionParameters(keyName, withPassword ? std::optional(password) : std::nullopt);

        std::vector<std::string> expected;
        if (withPassword && IsPasswordUsable(password)) {
            expected = {"-pw", password};
        }
        expected.push_back("-load");
        expected.push_back(name);
        ASSERT_EQ(SplitParameters(parameters), expected)
            << "key name [" << keyName << "] password [" << password << "] parameters ["
            << parameters << "]";
    }
}

// The native checks of the parameter texts read them with test::SplitArguments; it must
// read command lines exactly as the system does.
TEST(CommandLineRules, AgreeWithTheSystemSplitter) {
    const std::string alphabet = "a \t\"\\";
    std::mt19937 random(20240612);
    for (int i = 0; i < 3000; ++i) {
        std::string line(random() % 12, ' ');
        for (char& c : line) {
            c = alphabet[random() % alphabet.size()];
        }
        ASSERT_EQ(SplitParameters(line),
                  test::SplitArguments(line, test::DoubledQuote::EndsQuoting))
            << "[" << line << "]";
    }
}

} // namespace
} // namespace quarnel
