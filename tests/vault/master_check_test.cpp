// The stored form of the master password check.
#include "vault/master_check.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

const std::string kSalt(32, 'a'), kDerived(64, 'B');

std::optional<MasterCheckParts> Parse(const std::string& rounds, const std::string& salt = kSalt,
                                      const std::string& derived = kDerived) {
    return ParseMasterCheck(rounds + ":" + salt + ":" + derived);
}

TEST(MasterCheck, OnlyAWellFormedCheckCounts) {
    EXPECT_EQ(Parse("100000")->iterations, 100000u);
    EXPECT_EQ(Parse("10000000")->salt.at(0), 0xAA);
    // Too few or too many rounds, also by wrapping at 32 bits (to 100000); no number.
    for (const char* rounds : {"99999", "10000001", "4295067296", "10000a", "-100000", ""}) {
        EXPECT_FALSE(Parse(rounds)) << rounds;
    }
    EXPECT_FALSE(Parse("100000", kSalt + "a"));
    EXPECT_FALSE(Parse("100000", kSalt, kDerived + "0"));
    EXPECT_FALSE(Parse("100000", kSalt, std::string(63, 'B') + "g"));
    EXPECT_FALSE(ParseMasterCheck("100000:" + kSalt));
}

} // namespace
} // namespace quarnel
