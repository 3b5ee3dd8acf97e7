// Starting the stand-in putty.exe and reading back how it was started.
#include "sessions/launch_params.h"
#include "sessions/putty_process.h"
#include "testkit/fake_putty_log.h"
#include "testkit/test_support.h"
#include "win/text.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace quarnel {
namespace {

std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

// Folders compare without case and without a trailing backslash.
std::wstring Normal(std::wstring folder) {
    if (folder.size() > 3 && folder.back() == L'\\') {
        folder.pop_back();
    }
    CharLowerBuffW(folder.data(), static_cast<DWORD>(folder.size()));
    return folder;
}

std::vector<std::wstring> AfterProgram(const test::FakePuttyStart& start) {
    if (start.arguments.empty()) {
        return {};
    }
    return {start.arguments.begin() + 1, start.arguments.end()};
}

TEST(PuttyProcess, StartsWithParametersAndWorkingFolder) {
    test::FakePuttyLog log;
    const std::string putty = Narrow(test::FakePuttyPath());
    const std::wstring here = CurrentFolder();
    const std::wstring puttyFolder = test::BuildDir() + L"\\tests\\fake_putty\\";

    const struct {
        std::string parameters;
        std::string folder;
        std::vector<std::wstring> arguments;
        std::wstring currentFolder;
    } cases[] = {
        {SessionParameters("Web%20Server", std::nullopt), ".", {L"-load", L"Web Server"}, here},
        {SessionParameters("M%FCnchen%22x%22%5C", std::string("pw mit \"Blank\"")),
         Narrow(puttyFolder),
         {L"-pw", L"pw mit \"Blank\"", L"-load", L"M\u00fcnchen\"x\"\\"},
         puttyFolder},
        {TemplateSshParameters("Default%20Settings", "example.org"),
         PuttyFolder(putty),
         {L"-load", L"Default Settings", L"-ssh", L"example.org"},
         puttyFolder},
        {SshParameters(""), "", {L"-ssh"}, here},
        {"", ".", {}, here},
    };
    size_t expectedRecords = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.parameters);
        ASSERT_TRUE(StartPuttyProcess(putty, c.parameters, c.folder));
        const auto records = log.WaitFor(++expectedRecords);
        ASSERT_EQ(records.size(), expectedRecords);
        const test::FakePuttyStart& start = records.back();
        EXPECT_EQ(AfterProgram(start), c.arguments) << Narrow(start.commandLine);
        EXPECT_EQ(Normal(start.currentDirectory), Normal(c.currentFolder));
        // The parameter text reaches the program as it was given.
        const std::wstring tail = Widen(c.parameters);
        EXPECT_EQ(start.commandLine.substr(start.commandLine.size() - tail.size()), tail);
    }
}

TEST(PuttyProcess, ProgramPathWithBlanksIsGivenUnquoted) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"Quarnel Test \u00fc " +
                                std::to_wstring(GetCurrentProcessId()) + L"\\";
    const std::wstring copy = folder + L"putty.exe";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(test::FakePuttyPath().c_str(), copy.c_str(), FALSE));

    test::FakePuttyLog log;
    const std::string path = Narrow(copy);
    const bool started = StartPuttyProcess(path, TelnetParameters("10.0.0.1"), PuttyFolder(path));
    const auto records = log.WaitFor(1);
    // The copy may still be in use for a moment after the record is written.
    for (int i = 0; i < 200 && !DeleteFileW(copy.c_str()); ++i) {
        Sleep(10);
    }
    RemoveDirectoryW(folder.c_str());

    ASSERT_TRUE(started);
    ASSERT_EQ(records.size(), 1u);
    ASSERT_FALSE(records[0].arguments.empty());
    EXPECT_EQ(Normal(records[0].arguments[0]), Normal(copy));
    EXPECT_EQ(AfterProgram(records[0]), (std::vector<std::wstring>{L"-telnet", L"10.0.0.1"}));
    EXPECT_EQ(Normal(records[0].currentDirectory), Normal(folder));
}

TEST(PuttyProcess, MissingProgramIsAFailure) {
    const std::string missing = Narrow(test::BuildDir()) + "\\tests\\no such folder\\putty.exe";
    for (const std::string& path : {missing, std::string()}) {
        EXPECT_FALSE(StartPuttyProcess(path, "-ssh host", "")) << path;
    }
}

TEST(FakePuttyLog, OnlyFinishedRecordsCount) {
    const std::string text = "start\n"
                             "cmdline putty.exe \"a\\\\b\"\n"
                             "arg putty.exe\n"
                             "arg a\\\\b\\nc\n"
                             "cwd Z:\\\\tmp\n"
                             "end\n"
                             "start\n"
                             "cmdline putty.exe half\n"
                             "arg putty.exe\n"
                             "end";
    const auto records = test::ParseFakePuttyLog(text);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].commandLine, L"putty.exe \"a\\b\"");
    EXPECT_EQ(records[0].arguments, (std::vector<std::wstring>{L"putty.exe", L"a\\b\nc"}));
    EXPECT_EQ(records[0].currentDirectory, L"Z:\\tmp");
}

} // namespace
} // namespace quarnel
