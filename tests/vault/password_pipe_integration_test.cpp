// Handing a password to the stand-in putty.exe through a pipe, served by a wait loop
// like the program's own.
#include "sessions/putty_process.h"
#include "testkit/fake_putty_log.h"
#include "testkit/test_support.h"
#include "vault/password_pipe.h"
#include "win/text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace quarnel {
namespace {

// Waits for the pipes as the program's loop does, until `done` or ten seconds.
bool Serve(PasswordPipes& pipes, const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < end) {
        const std::vector<HANDLE> handles = pipes.WaitHandles();
        if (!handles.empty()) {
            WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE,
                                   std::min<DWORD>(50, pipes.MillisecondsToNextDeadline()));
        }
        pipes.Step();
    }
    return done();
}

void StartPuttyOn(PasswordPipes& pipes, std::unique_ptr<PasswordPipe> pipe) {
    std::optional<StartedProcess> started =
        StartPuttyProcess(Narrow(test::FakePuttyPath()), "-pwfile " + pipe->Path(), "");
    ASSERT_TRUE(started);
    pipe->ServeTo(std::move(started->process), started->id);
    pipes.Add(std::move(pipe));
}

class EnvironmentVariable {
  public:
    EnvironmentVariable(const wchar_t* name, const wchar_t* value) : name_(name) {
        SetEnvironmentVariableW(name, value);
    }
    ~EnvironmentVariable() { SetEnvironmentVariableW(name_, nullptr); }

  private:
    const wchar_t* name_;
};

TEST(PasswordPipe, OnlyTheStartedPuttyGetsThePasswordEachStartThroughAPipeOfItsOwn) {
    test::FakePuttyLog log;
    PasswordPipes pipes;
    auto first = PasswordPipe::Create("pass wört");
    auto second = PasswordPipe::Create("zweites");
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->Path(), second->Path());
    EXPECT_EQ(first->Path().rfind("\\\\.\\pipe\\quarnel-", 0), 0u);

    // Another program that opens the pipe first gets nothing.
    const UniqueHandle intruder(CreateFileW(Widen(first->Path()).c_str(), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(intruder.get(), INVALID_HANDLE_VALUE);
    pipes.Add(std::move(first));
    pipes.Step();
    char buffer[64];
    DWORD read = 0;
    EXPECT_FALSE(ReadFile(intruder.get(), buffer, sizeof buffer, &read, nullptr) && read > 0);

    // The pipe was waiting again: the stand-in started now reads it, as a second start
    // reads its own.
    std::unique_ptr<PasswordPipe> again = PasswordPipe::Create("pass wört");
    const std::string path = again->Path();
    StartPuttyOn(pipes, std::move(again));
    StartPuttyOn(pipes, std::move(second));
    ASSERT_TRUE(Serve(pipes, [&] { return log.Read().size() == 2 && pipes.Count() <= 1; }));
    std::vector<std::wstring> read2;
    for (const test::FakePuttyStart& start : log.Read()) {
        read2.push_back(start.passwordFile.value_or(L"-"));
    }
    std::sort(read2.begin(), read2.end());
    EXPECT_EQ(read2, (std::vector<std::wstring>{L"pass w\u00f6rt", L"zweites"}));
    // Once read, the pipe is gone.
    EXPECT_EQ(CreateFileW(Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
}

TEST(PasswordPipe, APuttyThatNeverReadsTakesThePipeAlongWhenItEnds) {
    test::FakePuttyLog log;
    const EnvironmentVariable skip(L"QUARNEL_FAKE_PUTTY_SKIP_PWFILE", L"1");
    const EnvironmentVariable stay(L"QUARNEL_FAKE_PUTTY_STAY_MS", L"300");
    PasswordPipes pipes;
    auto pipe = PasswordPipe::Create("ungelesen");
    ASSERT_TRUE(pipe);
    const std::string path = pipe->Path();
    StartPuttyOn(pipes, std::move(pipe));
    EXPECT_TRUE(Serve(pipes, [&] { return pipes.Count() == 0; }));
    EXPECT_EQ(log.Read().at(0).passwordFile, std::nullopt);
    EXPECT_EQ(CreateFileW(Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
}

} // namespace
} // namespace quarnel
