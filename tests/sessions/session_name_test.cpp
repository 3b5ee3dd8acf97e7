// Session key names and the names PuTTY and the user know them by.
#include "sessions/session_name.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(SessionName, ShowsEveryEscapeUndone) {
    const struct {
        std::string key, shown;
    } cases[] = {
        {"B%FCro%2fx", "Büro/x"}, {"100%25", "100%"}, {"%%20", "% "}, {"%2", "%2"},
        {"%zz%g2", "%zz%g2"},     {"%2520", "%20"}, // decoded once
        {"%00", "%00"},                             // a zero byte would end the name
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SessionDisplayName(c.key), c.shown) << c.key;
    }
}

TEST(SessionName, ATemplateStoredWithOnlyItsBlanksDecodedStillNamesItsSession) {
    const std::vector<std::string> keys = {"B%FCro%20Nord", "a%41", "a%2541"};
    const struct {
        std::string stored, shown;
    } cases[] = {
        {"B%FCro Nord", "Büro Nord"}, // the earlier form
        {"a%41", "a%41"},             // a shown name counts before an earlier form (of a%41)
        {"Default Settings", "Default Settings"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TemplateSessionName(c.stored, keys), c.shown) << c.stored;
    }
}

} // namespace
} // namespace quarnel
