// What each start hands PuTTY. Under Wine the system's CommandLineToArgvW also reads
// every text, and must agree with the reference splitter the fuzz target relies on.
#include "sessions/start_plan.h"
#include "testkit/command_line_rules.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

#include <gtest/gtest.h>

namespace quarnel {
namespace {

const std::wstring kPutty = L"C:\\Program Files\\PuTTY\\putty.exe";
const std::wstring kPipe = L"\\\\.\\pipe\\q";
constexpr FileVersion k076{0, 76, 0, 0}, k077{0, 77, 0, 0};

StartRequest Session(std::wstring name, std::optional<FileVersion> version = {},
                     std::optional<std::string> password = {}, std::wstring pipe = kPipe,
                     std::optional<std::wstring> argument = {}) {
    return {StartKind::Session, kPutty, L"D:\\Start", name, {}, {}, true, version,
            password,           pipe,   argument};
}

// A password on a start other than a session's never goes anywhere.
StartRequest Direct(StartKind kind, std::wstring host, std::wstring templateName = {},
                    bool setsSsh = true, std::wstring putty = kPutty) {
    return {kind, putty, {}, {}, host, templateName, setsSsh, {}, "pw", kPipe, L"pw"};
}

TEST(StartPlan, WhatPuttyGetsWhereAndHowThePasswordGoes) {
    using enum PasswordRoute;
    const std::wstring start = L"D:\\Start", folder = L"C:\\Program Files\\PuTTY\\";
    const struct {
        StartRequest request;
        std::wstring parameters, folder;
        PasswordRoute route;
    } cases[] = {
        {Session(L"Web Server"), L" -load  \"Web Server\"", start, None},
        {Session(L"x", k077, "s"), L"-pwfile " + kPipe + L" -load  \"x\"", start, Pipe},
        {Session(L"Say\\\"hi\"\\", k076, "Passw\xC3\xB6rt", L"", L"Passwört"),
         L"-pw Passwört -load  \"Say\\\\\\\"hi\\\"\\\\\"", start, CommandLine},
        {Direct(StartKind::Ssh, L" user@host -P 22"), L"-ssh  user@host -P 22", folder, None},
        {Direct(StartKind::Telnet, L"10.0.0.1", {}, true, L"putty.exe"), L"-telnet 10.0.0.1", L"",
         None},
        {Direct(StartKind::SshWithTemplate, L"h", L"Default Settings"),
         L"-load \"Default Settings\" h", folder, None},
        {Direct(StartKind::SshWithTemplate, L"h", L"Telnet", false), L"-load \"Telnet\" -ssh h",
         folder, None},
        {Direct(StartKind::PuttyAlone, L""), L"", L".", None},
    };
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(++row);
        const StartPlan plan = PlanStart(c.request);
        EXPECT_EQ(plan.file, c.request.puttyPath);
        EXPECT_EQ(plan.parameters, c.parameters);
        EXPECT_EQ(plan.folder, c.folder);
        EXPECT_EQ(plan.route, c.route);
#ifdef _WIN32
        int count = 0;
        wchar_t** argv = CommandLineToArgvW((L"putty.exe " + c.parameters).c_str(), &count);
        const std::vector<std::wstring> system(argv + 1, argv + count);
        LocalFree(argv);
        EXPECT_EQ(system, test::SplitArguments(c.parameters, test::DoubledQuote::EndsQuoting));
#endif
    }
    // Builds from sources (0.0.0.0), pre-releases (a build date) and later releases are no
    // old release.
    for (const FileVersion version : {FileVersion{}, FileVersion{0, 76, 0x8000 + 90, 0},
                                      FileVersion{0, 76, 0, 1}, FileVersion{1, 76, 0, 0}}) {
        EXPECT_EQ(RouteFor(version), PasswordRoute::Pipe);
    }
    // A wrong master password leaves control bytes, which would end the pipe's line early.
    EXPECT_FALSE(IsPasswordSendable("unit\x1Fsep"));
    EXPECT_FALSE(IsPasswordSendable("del\x7F"));
    EXPECT_TRUE(IsPasswordSendable(" ~\x80\xFF"));
}

} // namespace
} // namespace quarnel
