// The launch-time password lookup against Wine's registry.
#include "registry/registry.h"
#include "sessions/catalogue.h"
#include "testkit/test_support.h"
#include "vault/cipher.h"
#include "vault/password_lookup.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

class PasswordLookupTest : public ::testing::Test {
  protected:
    void TearDown() override { test::DeleteTree(SessionsKey.substr(0, SessionsKey.size() - 1)); }

    void Seed(const std::string& keyName, const std::string& storedValue) {
        ASSERT_EQ(RegistryCreateKey(SessionsKey + keyName, "."), 1);
        if (!storedValue.empty()) {
            ASSERT_EQ(
                RegistryWrite(SessionsKey + keyName, PasswordValueName, storedValue, kRegSz, "."),
                1);
        }
    }
};

TEST_F(PasswordLookupTest, StoredPasswordsComeBackDeciphered) {
    const struct {
        std::string keyName;
        std::string password;
        std::string master;
    } cases[] = {
        {"Web%20Server", "Geheim123", "test"},
        {"router", "abc", ""},
        {"M%FCnchen%2Fbackup", "Passwört", "Schlüssel"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keyName);
        const std::string stored = PasswordEncrypt(c.password, c.master);
        ASSERT_EQ(stored.find('\0'), std::string::npos);
        Seed(c.keyName, stored);
        EXPECT_EQ(LookupSessionPassword(c.keyName, true, c.master), c.password);
        EXPECT_EQ(LookupSessionPassword(c.keyName, false, c.master), std::nullopt);
        // A wrong master password goes unnoticed and gives other bytes.
        const auto wrong = LookupSessionPassword(c.keyName, true, c.master + "x");
        ASSERT_TRUE(wrong.has_value());
        EXPECT_NE(*wrong, c.password);
        EXPECT_EQ(wrong->size(), c.password.size());
    }
}

TEST_F(PasswordLookupTest, NoStoredValueMeansNoPassword) {
    Seed("plain", "");
    ASSERT_EQ(RegistryCreateKey(SessionsKey + "empty", "."), 1);
    ASSERT_EQ(RegistryWrite(SessionsKey + "empty", PasswordValueName, "", kRegSz, "."), 1);
    // Longer than a text value the registry layer reads back.
    Seed("overlong", std::string(255, 'x'));

    for (const std::string keyName : {"plain", "empty", "overlong", "missing%20session"}) {
        SCOPED_TRACE(keyName);
        EXPECT_EQ(LookupSessionPassword(keyName, true, "test"), std::nullopt);
    }
}

TEST_F(PasswordLookupTest, KeyNameIsUsedAsEnumerated) {
    Seed("Web%20Server", PasswordEncrypt("Geheim123", "test"));
    EXPECT_EQ(LookupSessionPassword("Web Server", true, "test"), std::nullopt);
    EXPECT_EQ(LookupSessionPassword("Web%20Server", true, "test"), "Geheim123");
}

} // namespace
} // namespace quarnel
