// The stored list of the sessions started last.
#include "sessions/recent_sessions.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quarnel {
namespace {

using Names = std::vector<std::string>;

const std::string kLong(254, 'x');

Names Numbered(int count, size_t width = 2) {
    Names names;
    for (int i = 0; i < count; ++i) {
        std::string name = std::to_string(i);
        name.insert(0, 1, 'k');
        name.resize(std::max(width, name.size()), '_');
        names.push_back(name);
    }
    return names;
}

std::string Joined(const Names& names) {
    std::string text;
    for (const std::string& n : names) {
        if (!text.empty()) {
            text += '\\';
        }
        text += n;
    }
    return text;
}

TEST(RecentSessionsTest, ParseKeepsKnownNamesOnceAndAtMostTen) {
    Names known = Numbered(12);
    known.insert(known.end(), {"%", "&", "a", "b%20c", kLong});
    const struct {
        std::string stored;
        Names parsed;
    } cases[] = {
        {"%\\&\\a", {"%", "&", "a"}},
        {"a\\gone\\a\\\\b%20c\\", {"a", "b%20c"}},
        {"\\\\", {}},
        {"", {}},
        {std::string("a\0", 2), {}},
        {kLong, {kLong}},
        {Joined(Numbered(12)), Numbered(10)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseRecentSessions(c.stored, known), c.parsed) << c.stored;
    }
}

TEST(RecentSessionsTest, PushMovesToTheFrontAndKeepsTen) {
    Names elevenPushed = Numbered(9);
    elevenPushed.insert(elevenPushed.begin(), "new");
    const struct {
        Names list;
        std::string key;
        Names pushed;
    } cases[] = {
        {{}, "a", {"a"}},
        {{"a", "b", "c"}, "c", {"c", "a", "b"}},
        {Numbered(10), "new", elevenPushed},
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
        {{"%", "&", "a"}, "%\\&\\a"},
        {{kLong, "a"}, kLong},
        {{"a", kLong}, "a"},
        {{"a", std::string(253, 'b'), "c"}, "a"}, // 255 characters would not read back
        {{kLong + "y", "a"}, "a"},
        {{"a", "", "x\\y", "b"}, "a\\b"},
        {Numbered(11), "k0\\k1\\k2\\k3\\k4\\k5\\k6\\k7\\k8\\k9"},
        {Numbered(10, 30), Joined(Numbered(8, 30))}, // 8 * 31 - 1 = 247 of 254 characters
        {{}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatRecentSessions(c.list), c.stored);
    }
}

} // namespace
} // namespace quarnel
