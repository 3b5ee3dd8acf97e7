// The master password check through Wine's BCrypt, and both stored forms of a password
// in its real registry.
#include "registry/registry.h"
#include "registry/value_text.h"
#include "testkit/quarnel_setup.h"
#include "vault/master_check.h"
#include "vault/stored_password.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(MasterCheck, Pbkdf2GivesTheKnownAnswers) {
    const struct {
        std::string password, salt;
        uint32_t iterations;
        std::string derived;
    } cases[] = {
        {"passwd", "salt", 1,
         "55AC046E56E3089FEC1691C22544B605F94185216DDE0465E68B9D57C20DACBC49CA9CCCF179B64599166"
         "4B39D77EF317C71B845B1E30BD509112041D3A19783"},
        {"Password", "NaCl", 80000,
         "4DDCD8F60B98BE21830CEE5EF22701F9641A4418D04C0414AEFF08876B34AB56A1D425A1225833549ADB8"
         "41B51C9B3176A272BDEBBA1D078478F62B397F33C8D"},
    };
    for (const auto& c : cases) {
        const auto derived = Pbkdf2Sha256(c.password, c.salt, c.iterations, 64);
        ASSERT_TRUE(derived);
        EXPECT_EQ(FormatHexBytes(*derived), c.derived);
    }
}

TEST(MasterCheck, TellsTheRightMasterPasswordFromAWrongOne) {
    const std::optional<std::string> check = MakeMasterCheck("Meister");
    ASSERT_TRUE(check);
    EXPECT_NE(MakeMasterCheck("Meister"), check); // salted afresh
    EXPECT_EQ(CheckMasterPassword(*check, "Meister"), MasterCheck::Matches);
    EXPECT_EQ(CheckMasterPassword(*check, "meister"), MasterCheck::Differs);
    EXPECT_EQ(CheckMasterPassword(*check, ""), MasterCheck::Differs);
    EXPECT_EQ(CheckMasterPassword("", "Meister"), MasterCheck::None);
}

TEST(StoredPassword, ACipherTextWithAZeroByteIsStoredAsBinaryDataAndBothFormsReadBack) {
    const test::ScratchKey scratch("stored-password");
    RegistryCreateKey(scratch.Path(), ".");
    const struct {
        std::string cipher;
        int type;
    } cases[] = {
        {"\x01\xFFtext", kRegSz},
        {std::string("a\0b", 3), kRegBinary},
        {std::string(254, '\x80'), kRegSz},
        {std::string(253, '\x80') + '\0', kRegBinary},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(StoreCipherText(scratch.Path(), c.cipher));
        EXPECT_EQ(RegistryReadValue(scratch.Path(), "UlvasQuarnel_pw", ".").type, c.type);
        EXPECT_EQ(ReadCipherText(scratch.Path()), c.cipher);
    }
    RegistryWrite(scratch.Path(), "UlvasQuarnel_pw", std::string(512, 'A'), kRegBinary, ".");
    EXPECT_EQ(ReadCipherText(scratch.Path()), std::nullopt); // 256 bytes: unreadable
    EXPECT_FALSE(StoreCipherText(scratch.Path() + "\\gone", "x"));
}

} // namespace
} // namespace quarnel
