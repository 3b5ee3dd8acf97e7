// The stored list of the sessions started last.
#include "sessions/recent_sessions.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

using Names = std::vector<std::string>;

const std::string kLong(254, 'x');

const Names kEleven = {"k0", "k1", "k2", "k3", "k4", "k5", "k6", "k7", "k8", "k9", "k10"};
const Names kTen(kEleven.begin(), kEleven.begin() + 10);

TEST(RecentSessionsTest, ParseKeepsKnownNamesOnceAndAtMostTen) {
    Names known = kEleven;
    known.insert(known.end(), {"a", "b%20c"});
    EXPECT_EQ(ParseRecentSessions("a\\gone\\a\\\\b%20c\\", known), (Names{"a", "b%20c"}));
    EXPECT_EQ(ParseRecentSessions("k0\\k1\\k2\\k3\\k4\\k5\\k6\\k7\\k8\\k9\\k10", known), kTen);
}

TEST(RecentSessionsTest, PushMovesToTheFrontAndKeepsTen) {
    const struct {
        Names list;
        std::string key;
        Names pushed;
    } cases[] = {
        {{"a", "b", "c"}, "c", {"c", "a", "b"}},
        {kTen, "new", {"new", "k0", "k1", "k2", "k3", "k4", "k5", "k6", "k7", "k8"}},
        {{"a"}, "", {"a"}},
        {{"a"}, "x\\y", {"a"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PushRecentSession(c.list, c.key), c.pushed) << c.key;
    }
}

TEST(RecentSessionsTest, FormatFitsInWhatCanBeReadBack) {
    const struct {
        Names list;
        std::string stored;
    } cases[] = {
        {{kLong, "a"}, kLong},
        {{"a", std::string(253, 'b'), "c"}, "a"}, // 255 characters would not read back
        {{kLong + "y", "a"}, "a"},
        {{"a", "", "x\\y", "b"}, "a\\b"},
        {kEleven, "k0\\k1\\k2\\k3\\k4\\k5\\k6\\k7\\k8\\k9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatRecentSessions(c.list), c.stored);
    }
}

} // namespace
} // namespace quarnel
