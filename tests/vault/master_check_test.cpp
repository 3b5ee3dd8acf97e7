// The stored form of the master password check.
#include "vault/master_check.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(MasterCheck, OnlyAWellFormedCheckCounts) {
    const std::string salt(32, 'a'), derived(64, 'B');
    EXPECT_EQ(ParseMasterCheck("100000:" + salt + ":" + derived)->iterations, 100000u);
    EXPECT_EQ(ParseMasterCheck("250000:" + salt + ":" + derived)->salt.at(0), 0xAA);
    for (const std::string& bad :
         {std::string(), std::string("100000"), "100000:" + salt, "99999:" + salt + ":" + derived,
          "100000000:" + salt + ":" + derived, "-100000:" + salt + ":" + derived,
          "100000:" + salt + "a:" + derived, "100000:" + salt + ":" + derived + "0",
          "100000:" + salt + ":" + std::string(63, 'B') + "g", ":" + salt + ":" + derived}) {
        EXPECT_FALSE(ParseMasterCheck(bad)) << bad;
    }
}

} // namespace
} // namespace quarnel
