// The password cipher through Wine's real CryptoAPI.
#include "registry/registry.h"
#include "testkit/test_support.h"
#include "vault/cipher.h"
#include "win/text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <thread>

namespace quarnel {
namespace {

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        out += digits[static_cast<unsigned char>(c) >> 4];
        out += digits[static_cast<unsigned char>(c) & 15];
    }
    return out;
}

// What one cipher call returned and which "Error" boxes it showed on the way.
struct CipherRun {
    std::string result;
    bool succeeded = false;
    std::vector<std::string> boxTexts;
    bool finished = false;
};

BOOL CALLBACK CollectStaticText(HWND child, LPARAM out) {
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    wchar_t text[2048] = {};
    if (lstrcmpiW(className, L"Static") == 0 && GetWindowTextW(child, text, 2048) > 0) {
        *reinterpret_cast<std::string*>(out) += Narrow(text);
    }
    return TRUE;
}

struct BoxSearch {
    std::set<HWND>* seen;
    HWND found = nullptr;
};

BOOL CALLBACK FindErrorBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (IsWindowVisible(window) && lstrcmpW(title, L"Error") == 0 &&
        search->seen->count(window) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Runs the call on a thread of its own and answers every "Error" box it shows with OK,
// noting the box's text, until the call returns or the deadline passes.
CipherRun RunWatched(const std::function<std::string(bool*)>& call) {
    CipherRun run;
    std::atomic<DWORD> threadId{0};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        threadId = GetCurrentThreadId();
        run.result = call(&run.succeeded);
        done = true;
    });
    std::set<HWND> seen;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done && std::chrono::steady_clock::now() < deadline) {
        BoxSearch search{&seen};
        if (threadId != 0) {
            EnumThreadWindows(threadId, FindErrorBox, reinterpret_cast<LPARAM>(&search));
        }
        if (search.found != nullptr) {
            seen.insert(search.found);
            std::string text;
            EnumChildWindows(search.found, CollectStaticText, reinterpret_cast<LPARAM>(&text));
            run.boxTexts.push_back(text);
            PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    run.finished = done;
    if (run.finished) {
        worker.join();
    } else {
        worker.detach(); // a hung call must not hang the whole test program
    }
    return run;
}

TEST(Cipher, KnownAnswersAndTheWayBack) {
    const struct {
        std::string plain;
        std::string master;
        std::string cipherHex;
    } cases[] = {
        {"Geheim123", "test", "3820c9f2d37387b815"},
        {"abc", "", "27eb91"},
        {"Passwört", "Schlüssel", "ec0620ecbf6a35e8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plain + " under " + c.master);
        const std::string input = c.plain;
        const CipherRun encrypted =
            RunWatched([&](bool* ok) { return PasswordEncrypt(input, c.master, ok); });
        ASSERT_TRUE(encrypted.finished);
        EXPECT_TRUE(encrypted.succeeded);
        EXPECT_TRUE(encrypted.boxTexts.empty());
        EXPECT_EQ(Hex(encrypted.result), c.cipherHex);
        EXPECT_EQ(input, c.plain);

        const CipherRun decrypted =
            RunWatched([&](bool* ok) { return PasswordDecrypt(encrypted.result, c.master, ok); });
        EXPECT_TRUE(decrypted.succeeded);
        EXPECT_TRUE(decrypted.boxTexts.empty());
        EXPECT_EQ(decrypted.result, c.plain);
    }
}

TEST(Cipher, PassPhraseIsMasterPasswordThenSuffix) {
    const std::string text = "Geheim123";
    EXPECT_EQ(PasswordEncrypt(text, "test"),
              PasswordCipher(text, "test" + std::string(PassPhraseSuffix)));
    EXPECT_EQ(PasswordEncrypt(text, ""), PasswordCipher(text, std::string(PassPhraseSuffix)));
}

TEST(Cipher, RoundTripsAndDeterminism) {
    std::string everyByte;
    for (int b = 1; b < 256; ++b) {
        everyByte += static_cast<char>(b);
    }
    const std::string passwords[] = {"x", "secret with blanks", "ÄÖÜäöüß€", everyByte,
                                     std::string(254, 'z')};
    const std::string masters[] = {"", "test", "Schlüssel", std::string(300, 'm')};
    for (const auto& master : masters) {
        for (const auto& password : passwords) {
            SCOPED_TRACE(password.substr(0, 20) + " under " + master.substr(0, 20));
            bool ok = false;
            const std::string cipher = PasswordEncrypt(password, master, &ok);
            EXPECT_TRUE(ok);
            EXPECT_EQ(cipher.size(), password.size());
            EXPECT_NE(cipher, password);
            EXPECT_EQ(PasswordEncrypt(password, master), cipher);
            EXPECT_EQ(PasswordDecrypt(cipher, master), password);
        }
    }
}

TEST(Cipher, DifferentMastersGiveDifferentTexts) {
    const std::string masters[] = {"", "test", "Test", "test ", " test", "tes", "Schlüssel"};
    std::set<std::string> ciphers;
    for (const auto& master : masters) {
        ciphers.insert(PasswordEncrypt("Geheim123", master));
    }
    EXPECT_EQ(ciphers.size(), std::size(masters));

    const CipherRun wrong = RunWatched(
        [](bool* ok) { return PasswordDecrypt(PasswordEncrypt("Geheim123", "test"), "Test", ok); });
    EXPECT_TRUE(wrong.succeeded);
    EXPECT_TRUE(wrong.boxTexts.empty());
    EXPECT_NE(wrong.result, "Geheim123");
}

TEST(Cipher, EmptyTextStaysEmpty) {
    const CipherRun run = RunWatched([](bool* ok) { return PasswordEncrypt("", "test", ok); });
    EXPECT_TRUE(run.succeeded);
    EXPECT_TRUE(run.boxTexts.empty());
    EXPECT_EQ(run.result, "");
}

// Without a usable default provider every call reports once and hands its input back.
TEST(Cipher, FailureIsShownAndReported) {
    const std::string userDefault =
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Cryptography\\Provider Type 001";
    const bool existed = RegistryKeyExists(userDefault, ".") != 0;
    const std::string oldName = RegistryRead(userDefault, "Name", ".");
    ASSERT_EQ(RegistryCreateKey(userDefault, "."), 1);
    ASSERT_EQ(RegistryWrite(userDefault, "Name", "Quarnel Missing Provider", kRegSz, "."), 1);

    const std::string input = "Geheim123";
    const CipherRun run = RunWatched([&](bool* ok) { return PasswordEncrypt(input, "test", ok); });

    if (existed) {
        RegistryWrite(userDefault, "Name", oldName, kRegSz, ".");
    } else {
        test::DeleteTree(userDefault);
    }

    ASSERT_TRUE(run.finished);
    EXPECT_FALSE(run.succeeded);
    EXPECT_EQ(run.result, input);
    EXPECT_EQ(input, "Geheim123");
    ASSERT_EQ(run.boxTexts.size(), 1u);
    const std::string& text = run.boxTexts[0];
    const std::string message = "CryptAcquireContext_() failed";
    EXPECT_EQ(text.substr(0, message.size()), message);
    // The system's description of the error follows on a line of its own.
    EXPECT_GT(text.size(), message.size() + 1) << text;
    EXPECT_EQ(text.substr(message.size(), 1), "\n") << text;

    EXPECT_EQ(Hex(PasswordEncrypt(input, "test")), "3820c9f2d37387b815");
}

} // namespace
} // namespace quarnel
