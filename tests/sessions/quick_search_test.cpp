// Which sessions the quick search offers for a typed text, and in which order.
#include "sessions/quick_search.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

const SearchIndex kIndex({
    {"alt-prod", ""},                // 0
    {"web server 01", "Produktion"}, // 1
    {"Webmail", "Büro"},             // 2
    {"Überwachung Öl Ära", "Prod"},  // 3
    {"db-web", ""},                  // 4
    {"menüweb", "Test"},             // 5: ü is a letter, no word begins at web
    {"oldweb_web", ""},              // 6: web begins a word at its second place
    {"0web", ""},                    // 7: digits are of a word
    {"šweb", ""},                    // 8: so is š
    {"×web", ""},                    // 9: × is no letter; a word begins right after it
    {"÷web", ""},                    // 10: nor is ÷
});

TEST(SearchIndexTest, MatchesEveryWordAndRanksBeginningsAndRecentFirst) {
    const struct {
        std::string query;
        std::vector<size_t> recent, found;
    } cases[] = {
        {" WEB\t", {}, {1, 2, 4, 6, 9, 10, 5, 7, 8}},
        {"web prod", {}, {1}}, // one word in the name, one in the menu
        {"üBER öL äRA", {}, {3}},
        {"prod", {}, {0, 1, 3}},  // a menu match does not rank
        {"prod", {3}, {0, 3, 1}}, // recent first only within its rank
        {" \t ", {5, 2, 11, 5}, {5, 2, 0, 1, 3, 4, 6, 7, 8, 9, 10}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kIndex.Find(c.query, c.recent), c.found) << '"' << c.query << '"';
    }
}

TEST(SearchIndexTest, EntriesAndRecentIndicesFollowTheCatalogue) {
    const SessionCatalogue catalogue = BuildCatalogue({{"web%20server", "Prod"}, {"alpha", ""}});
    const std::vector<SearchEntry> entries = SearchEntriesOf(catalogue);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].shown + "|" + entries[0].menu, "alpha|");
    EXPECT_EQ(entries[1].shown + "|" + entries[1].menu, "web server|Prod");
    EXPECT_EQ(SessionIndices(catalogue.allSessions, {"web%20server", "gone", "alpha"}),
              (std::vector<size_t>{1, 0}));
}

} // namespace
} // namespace quarnel
