// The vault through Wine's real CryptoAPI, BCrypt and registry: the password cipher, the
// master password check, both stored forms of a password and the lookup at launch.
#include "registry/registry.h"
#include "registry/value_text.h"
#include "testkit/message_boxes.h"
#include "testkit/quarnel_setup.h"
#include "vault/cipher.h"
#include "vault/master_check.h"
#include "vault/password_lookup.h"
#include "vault/stored_password.h"

#include <wincrypt.h>

#include <gtest/gtest.h>

namespace quarnel {
namespace {

class CipherTest : public ::testing::Test {
  protected:
    test::Boxes boxes_; // a box would hold the test: answered as it opens
};

// Passwords stored by earlier runs must decipher: the answers pin key and pass phrase.
TEST_F(CipherTest, GivesTheKnownAnswersAndDeciphersThem) {
    HCRYPTPROV gone = 0; // a user who never used the CryptoAPI has no key container yet
    CryptAcquireContextW(&gone, nullptr, nullptr, PROV_RSA_FULL, CRYPT_DELETEKEYSET);
    const struct {
        std::string plain, master, cipher;
    } cases[] = {
        {"Geheim123", "test", "3820C9F2D37387B815"},
        {"abc", "", "27EB91"},
        {"Passwört", "Schlüssel", "EC0620ECBF6A35E8"},
    };
    for (const auto& c : cases) {
        bool ok = false;
        const std::string cipher = PasswordEncrypt(c.plain, c.master, &ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(FormatHexBytes({cipher.begin(), cipher.end()}), c.cipher) << c.plain;
        EXPECT_EQ(PasswordDecrypt(cipher, c.master), c.plain);
    }
    EXPECT_EQ(test::Boxes::Take(), test::Texts{});
}

// Without a usable default provider a call shows one box and hands its input back.
TEST_F(CipherTest, AFailureShowsOneErrorBoxAndReturnsTheInput) {
    const std::string provider =
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Cryptography\\Provider Type 001";
    ASSERT_EQ(RegistryCreateKey(provider, "."), 1);
    RegistryWrite(provider, "Name", "Quarnel Missing Provider", kRegSz, ".");
    bool ok = true;
    const std::string result = PasswordEncrypt("Geheim123", "test", &ok);
    test::DeleteTree(provider);

    EXPECT_FALSE(ok);
    EXPECT_EQ(result, "Geheim123");
    const test::Texts boxes = test::Boxes::Take();
    ASSERT_EQ(boxes.size(), 1u);
    // The system's description of the error follows on a line of its own.
    const std::string message = "Error|CryptAcquireContext_() failed\n";
    EXPECT_EQ(boxes[0].substr(0, message.size()), message);
    EXPECT_GT(boxes[0].size(), message.size() + 3);
    EXPECT_EQ(
        boxes[0].find_last_of("\r\n"),
        message.size() -
            1); // no line break after the description or, where the system has none, the number
}

TEST(LookupSessionPassword, DeciphersTheStoredValueOnlyWhenTheFunctionIsOn) {
    test::QuarnelSetup setup;
    setup.Session("Web%20Server", "", "Geheim123", "test").Session("ohne");
    EXPECT_EQ(LookupSessionPassword("Web%20Server", true, "test"), "Geheim123");
    EXPECT_EQ(LookupSessionPassword("Web%20Server", false, "test"), std::nullopt);
    EXPECT_EQ(LookupSessionPassword("ohne", true, "test"), std::nullopt);
}

// A check stored by an earlier run must still match: iterations and hash as named.
TEST(MasterCheck, Pbkdf2GivesTheKnownAnswer) {
    EXPECT_EQ(
        FormatHexBytes(Pbkdf2Sha256("Password", "NaCl", 80000, 64).value()),
        "4DDCD8F60B98BE21830CEE5EF22701F9641A4418D04C0414AEFF08876B34AB56A1D425A1225833549ADB8"
        "41B51C9B3176A272BDEBBA1D078478F62B397F33C8D");
}

TEST(MasterCheck, TellsTheRightMasterPasswordFromAWrongOne) {
    const std::optional<std::string> check = MakeMasterCheck("Meister");
    ASSERT_TRUE(check);
    EXPECT_NE(MakeMasterCheck("Meister"), check); // salted afresh
    EXPECT_EQ(CheckMasterPassword(*check, "Meister"), MasterCheck::Matches);
    EXPECT_EQ(CheckMasterPassword(*check, "meister"), MasterCheck::Differs);
    std::string lastByteOff = *check; // every byte is compared
    lastByteOff.back() = lastByteOff.back() == '0' ? '1' : '0';
    EXPECT_EQ(CheckMasterPassword(lastByteOff, "Meister"), MasterCheck::Differs);
    EXPECT_EQ(CheckMasterPassword("", "Meister"), MasterCheck::None);
    EXPECT_EQ(CheckMasterPassword("100000:00", "Meister"), MasterCheck::Unreadable);
    // A check of more rounds, as a later version may store, is derived with its own count.
    EXPECT_EQ(CheckMasterPassword("100001:000102030405060708090A0B0C0D0E0F:FBB341378EE2E747769FB7E"
                                  "28021DDEC5EA886AF1C62D179C0C6DB373FB00EBA",
                                  "Meister"),
              MasterCheck::Matches);
}

TEST(StoredPassword, ACipherTextWithAZeroByteIsStoredAsBinaryDataAndBothFormsReadBack) {
    const test::ScratchKey scratch("stored-password");
    RegistryCreateKey(scratch.path, ".");
    const struct {
        std::string cipher;
        int type;
    } cases[] = {
        {"\x01\xFFtext", kRegSz},
        {std::string("a\0b", 3), kRegBinary},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(StoreCipherText(scratch.path, c.cipher));
        EXPECT_EQ(RegistryReadValue(scratch.path, "UlvasQuarnel_pw", ".").type, c.type);
        EXPECT_EQ(ReadCipherText(scratch.path), c.cipher);
    }
    EXPECT_FALSE(StoreCipherText(scratch.path, std::string(255, 'x'))); // reads back as nothing
    EXPECT_TRUE(StoreCipherText(scratch.path, "")); // saved with the password field left empty
    EXPECT_EQ(ReadCipherText(scratch.path), std::nullopt); // so PuTTY asks, as for none
}

} // namespace
} // namespace quarnel
