// Handing a password through Wine's named pipes to the stand-in putty.exe, started as a
// real process as the program starts PuTTY.
#include "sessions/putty_process.h"
#include "testkit/e2e_driver.h"
#include "testkit/fake_putty_log.h"
#include "vault/password_pipe.h"

#include <aclapi.h>

#include <gtest/gtest.h>

namespace quarnel {
namespace {

using namespace std::chrono_literals;

// No instance of the pipe is left to wait for.
bool Gone(const std::wstring& pipe) {
    return !WaitNamedPipeW(pipe.c_str(), 1) && GetLastError() == ERROR_FILE_NOT_FOUND;
}

// The stand-in with the pipe as its -pwfile, opened `delayMs` late or, with `skip`, never.
StartedProcess StartStandIn(const std::wstring& pipe, const wchar_t* delayMs, const wchar_t* skip) {
    SetEnvironmentVariableW(L"QUARNEL_FAKE_PUTTY_PWFILE_DELAY_MS", delayMs);
    SetEnvironmentVariableW(L"QUARNEL_FAKE_PUTTY_SKIP_PWFILE", skip);
    return StartPutty({test::FakePuttyPath(), L"-pwfile " + pipe, L""}).value();
}

TEST(PasswordCourier, OnlyTheStartedPuttyGetsTheLineHoweverEarlyOrLateItOpensThePipe) {
    const struct {
        std::string password;
        bool stranger;          // this process opens the pipe before PuTTY starts
        const wchar_t* delayMs; // PuTTY opens its file that late
        bool servedLate;        // Serve comes once PuTTY holds the pipe
    } cases[] = {
        {"Gr\xC3\xBC\xC3\x9F\x65", true, L"1500", false}, // "Grüße" in UTF-8
        {"pass wort", false, nullptr, true},
    };
    test::FakePuttyLog log;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(i);
        PasswordCourier courier;
        const std::optional<std::wstring> pipe = courier.Prepare(c.password);
        ASSERT_TRUE(pipe);
        EXPECT_EQ(pipe->size(), 17u + 32u); // "\\.\pipe\quarnel-" and 16 random bytes
        const UniqueHandle stranger(c.stranger ? CreateFileW(pipe->c_str(), GENERIC_READ, 0,
                                                             nullptr, OPEN_EXISTING, 0, nullptr)
                                               : nullptr);
        ASSERT_NE(stranger.get(), INVALID_HANDLE_VALUE);
        if (c.stranger) { // the pipe lets in the user this process runs as, and nobody else
            HANDLE token = nullptr;
            alignas(TOKEN_USER) BYTE user[256] = {};
            DWORD size = 0;
            OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
            const UniqueHandle owned(token);
            GetTokenInformation(token, TokenUser, user, sizeof user, &size);
            PACL dacl = nullptr;
            PSECURITY_DESCRIPTOR its = nullptr;
            GetSecurityInfo(stranger.get(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                            nullptr, &dacl, nullptr, &its);
            void* ace = nullptr;
            EXPECT_TRUE(dacl && dacl->AceCount == 1 && GetAce(dacl, 0, &ace) &&
                        EqualSid(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart,
                                 reinterpret_cast<TOKEN_USER*>(user)->User.Sid));
            LocalFree(its);
        }
        StartedProcess putty = StartStandIn(*pipe, c.delayMs, nullptr);
        if (c.servedLate) { // the pipe stops being free to open when PuTTY holds it
            test::Await([&] { return !WaitNamedPipeW(pipe->c_str(), 1); },
                        "PuTTY to hold the pipe");
        }
        courier.Serve(*pipe, std::move(putty.process), putty.id);
        courier.Drain();
        const auto starts = log.WaitFor(i + 1);
        ASSERT_EQ(starts.size(), i + 1);
        EXPECT_EQ(starts[i].passwordFile, c.password + "\n");
    }
}

TEST(PasswordCourier, AnUnservedPipeGoesWhenWithdrawnWhenItsPuttyEndsOrWhenItsTimeIsUp) {
    for (const bool puttyEnds : {true, false}) {
        SCOPED_TRACE(puttyEnds);
        test::FakePuttyLog log;
        PasswordCourier courier(puttyEnds ? 60s : 500ms); // longer than Await waits
        const auto withdrawn = courier.Prepare("erster"), pipe = courier.Prepare("zweiter");
        ASSERT_TRUE(withdrawn && pipe);
        courier.Withdraw(*withdrawn);
        EXPECT_TRUE(Gone(*withdrawn));
        EXPECT_FALSE(Gone(*pipe));
        if (puttyEnds) {
            StartedProcess putty = StartStandIn(*pipe, nullptr, L"1");
            courier.Serve(*pipe, std::move(putty.process), putty.id);
        }
        test::Await([&] { return Gone(*pipe); }, "the pipe to go");
    }
}

// One wait takes 64 handles: the wake event and two for each pipe.
TEST(PasswordCourier, ThirtyOneStartsAtOnceGetAPipeOfTheirOwnAndTheNextNone) {
    PasswordCourier courier(30s); // none may go for lack of time while the rest are made
    std::vector<std::wstring> pipes;
    for (int i = 0; i < 31; ++i) {
        pipes.push_back(courier.Prepare("x").value_or(L""));
    }
    EXPECT_FALSE(courier.Prepare("x"));
    for (const std::wstring& pipe : pipes) {
        EXPECT_FALSE(pipe.empty());
        courier.Withdraw(pipe);
    }
}

} // namespace
} // namespace quarnel
