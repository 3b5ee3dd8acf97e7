// Session key names and the names PuTTY and the user know them by.
#include "sessions/session_name.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(SessionName, ShowsEveryEscapeUndone) {
    const struct {
        std::string key, shown;
    } cases[] = {
        {"B%FCro", "Büro"},
        {"web%20server%2001", "web server 01"},
        {"back%5C", "back\\"},
        {"a%2Fb%2fc", "a/b/c"},
        {"100%25", "100%"},
        {"%2520", "%20"}, // decoded once
        {"%", "%"},
        {"%2", "%2"},
        {"%zz%g2", "%zz%g2"},
        {"%%20", "% "},
        {"%00", "%00"}, // a zero byte would end the name
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SessionDisplayName(c.key), c.shown) << c.key;
    }
}

TEST(SessionName, ATemplateStoredWithOnlyItsBlanksDecodedStillNamesItsSession) {
    const std::vector<std::string> keys = {"B%FCro%20Nord", "a%2541", "aA"};
    const struct {
        std::string stored, shown;
    } cases[] = {
        {"B%FCro Nord", "Büro Nord"}, // the earlier form
        {"Büro Nord", "Büro Nord"},
        {"a%41", "a%41"}, // the shown name of a%2541, not decoded twice
        {"Default Settings", "Default Settings"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TemplateSessionName(c.stored, keys), c.shown) << c.stored;
    }
}

} // namespace
} // namespace quarnel
