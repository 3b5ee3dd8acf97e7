// PuTTY's parameter texts to the byte, and the arguments PuTTY reads back from them:
// under Wine with the system's own CommandLineToArgvW (and the reference splitter the
// fuzz target relies on), natively with the reference splitter alone.
#include "sessions/launch_params.h"
#include "testkit/command_line_rules.h"

#ifdef _WIN32
#include "win/text.h"

#include <windows.h>

#include <shellapi.h>
#endif

#include <gtest/gtest.h>

namespace quarnel {
namespace {

using Texts = std::vector<std::string>;

// The arguments after the program's name of "putty.exe " + parameters.
Texts Split(const std::string& parameters) {
    Texts arguments = test::SplitArguments(parameters, test::DoubledQuote::EndsQuoting);
#ifdef _WIN32
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(Widen("putty.exe " + parameters).c_str(), &count);
    Texts system;
    for (int i = 1; i < count; ++i) {
        system.push_back(Narrow(argv[i]));
    }
    LocalFree(argv);
    EXPECT_EQ(system, arguments) << "the reference splitter reads [" << parameters << "] otherwise";
#endif
    return arguments;
}

TEST(LaunchParams, EveryFormOfLaunch) {
    const struct {
        std::string parameters, text;
        Texts arguments;
    } cases[] = {
        {SessionParameters("Web%20Server", ""), " -load  \"Web Server\"", {"-load", "Web Server"}},
        {SessionParameters("Web%20Server", PasswordPart("secret")),
         "-pw secret -load  \"Web Server\"",
         {"-pw", "secret", "-load", "Web Server"}},
        {SessionParameters("M%FCnchen%2fB%FCro", PasswordPart("Passwört")),
         "-pw Passwört -load  \"München/Büro\"",
         {"-pw", "Passwört", "-load", "München/Büro"}},
        {SessionParameters("Say%22hi%22%5C", PasswordPart("a b\"c\\")),
         "-pw \"a b\\\"c\\\\\" -load  \"Say\\\"hi\\\"\\\\\"",
         {"-pw", "a b\"c\\", "-load", "Say\"hi\"\\"}},
        {SessionParameters("x", PasswordPart("end\\")),
         "-pw end\\ -load  \"x\"",
         {"-pw", "end\\", "-load", "x"}},
        {SessionParameters("x", PasswordPart("")),
         "-pw \"\" -load  \"x\"",
         {"-pw", "", "-load", "x"}},
        // A password with control characters (a wrong master password) is left out.
        {SessionParameters("x", PasswordPart("tab\there")), " -load  \"x\"", {"-load", "x"}},
        {SessionParameters("x", PasswordPart("del\x7F")), " -load  \"x\"", {"-load", "x"}},
        {SessionParameters("Web%20Server", PasswordFilePart("\\\\.\\pipe\\quarnel-0a")),
         "-pwfile \\\\.\\pipe\\quarnel-0a -load  \"Web Server\"",
         {"-pwfile", "\\\\.\\pipe\\quarnel-0a", "-load", "Web Server"}},
        {SshParameters("example.org"), "-ssh example.org", {"-ssh", "example.org"}},
        {SshParameters(" user@host -P 22"),
         "-ssh  user@host -P 22",
         {"-ssh", "user@host", "-P", "22"}},
        {SshParameters(""), "-ssh ", {"-ssh"}},
        {TelnetParameters("10.0.0.1"), "-telnet 10.0.0.1", {"-telnet", "10.0.0.1"}},
        {TemplateSshParameters("Default Settings", "h"),
         "-load \"Default Settings\" -ssh h",
         {"-load", "Default Settings", "-ssh", "h"}},
        {TemplateSshParameters("Vorlage ü\"", ""),
         "-load \"Vorlage ü\\\"\" -ssh ",
         {"-load", "Vorlage ü\"", "-ssh"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.parameters, c.text);
        EXPECT_EQ(Split(c.parameters), c.arguments) << c.parameters;
    }
}

TEST(LaunchParams, PuttyFolderEndsAtTheLastBackslash) {
    EXPECT_EQ(PuttyFolder("C:\\Program Files\\PuTTY\\putty.exe"), "C:\\Program Files\\PuTTY\\");
    EXPECT_EQ(PuttyFolder("\\\\server\\share\\putty.exe"), "\\\\server\\share\\");
    EXPECT_EQ(PuttyFolder("putty.exe"), "");
    EXPECT_EQ(PuttyFolder("C:/tools/putty.exe"), "");
}

} // namespace
} // namespace quarnel
