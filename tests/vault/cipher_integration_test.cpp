// The password cipher through Wine's real CryptoAPI, and the lookup at launch.
#include "registry/registry.h"
#include "testkit/quarnel_setup.h"
#include "testkit/message_boxes.h"
#include "vault/cipher.h"
#include "vault/password_lookup.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

std::string Hex(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        out += "0123456789abcdef"[static_cast<unsigned char>(c) >> 4];
        out += "0123456789abcdef"[c & 15];
    }
    return out;
}

class CipherTest : public ::testing::Test {
  protected:
    test::Boxes boxes_; // a box would hold the test: answered as it opens
};

TEST_F(CipherTest, KnownAnswersRoundTripsAndDeterminism) {
    const struct {
        std::string plain, master, cipher;
    } cases[] = {
        {"Geheim123", "test", "3820c9f2d37387b815"},
        {"abc", "", "27eb91"},
        {"Passwört", "Schlüssel", "ec0620ecbf6a35e8"},
        {"", "test", ""},
    };
    for (const auto& c : cases) {
        const std::string input = c.plain;
        bool ok = false;
        const std::string cipher = PasswordEncrypt(input, c.master, &ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(Hex(cipher), c.cipher) << c.plain;
        EXPECT_EQ(input, c.plain);
        EXPECT_EQ(PasswordDecrypt(cipher, c.master), c.plain);
    }
    std::string everyByte;
    for (int b = 1; b < 256; ++b) {
        everyByte += static_cast<char>(b);
    }
    for (const std::string& master : {std::string(), std::string(300, 'm')}) {
        const std::string cipher = PasswordEncrypt(everyByte, master);
        EXPECT_EQ(PasswordEncrypt(everyByte, master), cipher);
        EXPECT_NE(PasswordEncrypt(everyByte, master + "x"), cipher);
        EXPECT_EQ(PasswordDecrypt(cipher, master), everyByte);
    }
    EXPECT_EQ(test::Boxes::Take(), test::Texts{});
}

// Without a usable default provider a call shows one box and hands its input back.
TEST_F(CipherTest, AFailureShowsOneErrorBoxAndReturnsTheInput) {
    const std::string provider =
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Cryptography\\Provider Type 001";
    ASSERT_EQ(RegistryCreateKey(provider, "."), 1);
    RegistryWrite(provider, "Name", "Quarnel Missing Provider", kRegSz, ".");
    const std::string input = "Geheim123";
    bool ok = true;
    const std::string result = PasswordEncrypt(input, "test", &ok);
    test::DeleteTree(provider);

    EXPECT_FALSE(ok);
    EXPECT_EQ(result, input);
    EXPECT_EQ(input, "Geheim123");
    const test::Texts boxes = test::Boxes::Take();
    ASSERT_EQ(boxes.size(), 1u);
    // The system's description of the error follows on a line of its own.
    const std::string message = "Error|CryptAcquireContext_() failed\n";
    EXPECT_EQ(boxes[0].substr(0, message.size()), message);
    EXPECT_GT(boxes[0].size(), message.size() + 3);
}

TEST(LookupSessionPassword, DeciphersTheStoredValueOnlyWhenTheFunctionIsOn) {
    test::QuarnelSetup setup;
    setup.Session("Web%20Server", "", "Geheim123", "test").Session("ohne");
    const struct {
        std::string keyName;
        bool on;
        std::optional<std::string> password;
    } cases[] = {
        {"Web%20Server", true, "Geheim123"},
        {"Web%20Server", false, std::nullopt},
        {"Web Server", true, std::nullopt}, // the key name as listed, not as shown
        {"ohne", true, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LookupSessionPassword(c.keyName, c.on, "test"), c.password) << c.keyName;
    }
}

} // namespace
} // namespace quarnel
