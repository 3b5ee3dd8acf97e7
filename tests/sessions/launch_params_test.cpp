// PuTTY's parameter texts, to the byte.
#include "sessions/launch_params.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(LaunchParams, KeyNamesDecodeEveryEscape) {
    const struct {
        std::string keyName;
        std::string name;
    } cases[] = {
        {"Web%20Server", "Web Server"},
        {"M%FCnchen", "München"},
        {"a%2fb%2Fc", "a/b/c"},
        {"star%2A%3f", "star*?"},
        {"100%25", "100%"},
        {"%2520", "%20"}, // decoded once, not again
        {"%%20", "% "},
        {"%", "%"},
        {"end%2", "end%2"},
        {"%zz%2g%g2", "%zz%2g%g2"},
        {"%00", "%00"},
        {"Say%22hi%22%5C", "Say\"hi\"\\"},
        {"plain", "plain"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeSessionName(c.keyName), c.name) << c.keyName;
    }
}

TEST(LaunchParams, PasswordsWithControlCharactersAreUnusable) {
    const struct {
        std::string password;
        bool usable;
    } cases[] = {
        {"secret", true},
        {"with blank\"quote\\", true},
        {"Passwört€\xFF", true},
        {"~", true},
        {std::string("a\0b", 3), false},
        {"tab\there", false},
        {"line\n", false},
        {"\x1F", false},
        {"del\x7F", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsPasswordUsable(c.password), c.usable) << c.password;
    }
}

TEST(LaunchParams, SessionParameters) {
    const struct {
        std::string keyName;
        std::optional<std::string> password;
        std::string parameters;
    } cases[] = {
        {"Web%20Server", std::nullopt, " -load  \"Web Server\""},
        {"Web%20Server", "secret", "-pw secret -load  \"Web Server\""},
        {"M%FCnchen%2Fbackup", "Passwört", "-pw Passwört -load  \"München/backup\""},
        {"host", "two words", "-pw \"two words\" -load  \"host\""},
        {"host", "say\"hi", "-pw \"say\\\"hi\" -load  \"host\""},
        {"host", "back\\slash", "-pw back\\slash -load  \"host\""},
        {"host", "end\\", "-pw end\\ -load  \"host\""},
        {"host", "a b\\", "-pw \"a b\\\\\" -load  \"host\""},
        {"host", "\\\"", "-pw \"\\\\\\\"\" -load  \"host\""},
        {"host", "", "-pw \"\" -load  \"host\""},
        {"host", "tab\there", " -load  \"host\""},
        {"host", std::string("a\0b", 3), " -load  \"host\""},
        {"host", "del\x7F", " -load  \"host\""},
        {"Say%22hi%22", std::nullopt, " -load  \"Say\\\"hi\\\"\""},
        {"dir%5C", std::nullopt, " -load  \"dir\\\\\""},
        {"a%5C%22b", std::nullopt, " -load  \"a\\\\\\\"b\""},
        {"a%5Cb", std::nullopt, " -load  \"a\\b\""},
        {"tab%09name", std::nullopt, " -load  \"tab\tname\""},
        {"100%25", std::nullopt, " -load  \"100%\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keyName + " / " + c.password.value_or("(none)"));
        EXPECT_EQ(SessionParameters(c.keyName, c.password), c.parameters);
    }
}

TEST(LaunchParams, DirectConnections) {
    EXPECT_EQ(SshParameters("example.org"), "-ssh example.org");
    EXPECT_EQ(SshParameters(""), "-ssh ");
    EXPECT_EQ(SshParameters(" user@host -p 22 "), "-ssh  user@host -p 22 ");
    EXPECT_EQ(TelnetParameters("10.0.0.1"), "-telnet 10.0.0.1");
    EXPECT_EQ(TelnetParameters(""), "-telnet ");

    const struct {
        std::string templateName;
        std::string host;
        std::string parameters;
    } templates[] = {
        {"Default Settings", "example.org", "-load \"Default Settings\" -ssh example.org"},
        {"Default%20Settings", "h", "-load \"Default Settings\" -ssh h"},
        {"Vorlage%2F%FC", "", "-load \"Vorlage/ü\" -ssh "},
        {"Say%22hi%22", "h", "-load \"Say\\\"hi\\\"\" -ssh h"},
        {"", "h", "-load \"\" -ssh h"},
    };
    for (const auto& t : templates) {
        EXPECT_EQ(TemplateSshParameters(t.templateName, t.host), t.parameters) << t.templateName;
    }
}

TEST(LaunchParams, PuttyFolder) {
    const struct {
        std::string path;
        std::string folder;
    } cases[] = {
        {"C:\\Program Files\\PuTTY\\putty.exe", "C:\\Program Files\\PuTTY\\"},
        {"C:\\putty.exe", "C:\\"},
        {"\\\\server\\share\\putty.exe", "\\\\server\\share\\"},
        {"C:\\tools\\", "C:\\tools\\"},
        {"putty.exe", ""},
        {"C:/tools/putty.exe", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PuttyFolder(c.path), c.folder) << c.path;
    }
}

} // namespace
} // namespace quarnel
