// Catalogue order, name conversions and grouping, without the registry.
#include "sessions/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace quarnel {
namespace {

using namespace std::string_literals;
using Sessions = std::vector<std::pair<std::string, std::string>>;

TEST(CatalogueLess, OrdersByFoldedSignedBytes) {
    // Each pair is strictly ordered: first before second.
    const struct {
        std::string first, second;
    } cases[] = {
        {"abc", "ABD"},     {"ABC", "abd"},
        {"abc", "abcd"},    {"", "a"},
        {"Büro", "Bus"}, // ü is 0xFC: negative, below every ASCII byte
        {"xä", "x"},     // and below the end of a text
        {"ärger", "Alpha"}, {"Alpha", "Zoo"},
        {"Ä", "ä"}, // umlauts do not fold: 0xC4 < 0xE4 as signed bytes
        {"x\x80", "x"},     {"x", "x\x7F"},
        {"x\x80", "x\xFF"}, {"[", "Z"},       // Z folds to z (0x7A), above '[' (0x5B)
        {"_", "A"},         {"a b", "a%20b"}, // a stored %20 sorts as '%', after the blank
        {"a!", "a%20"},     {"a%20b", "a0"},
        {"a%20b", "aa"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first + " < " + c.second);
        EXPECT_TRUE(CatalogueLess(c.first, c.second));
        EXPECT_FALSE(CatalogueLess(c.second, c.first));
    }
}

TEST(CatalogueLess, CaseOfAToZAndTrailingZerosAreEquivalent) {
    const struct {
        std::string a, b;
    } cases[] = {
        {"ABC", "abc"}, {"Mixed Case", "mIXED cASE"}, {"", ""},   {"x", "x\0"s},
        {"", "\0\0"s},  {"a\0b"s, "A\0B"s},           {"ß", "ß"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a + " ~ " + c.b);
        EXPECT_FALSE(CatalogueLess(c.a, c.b));
        EXPECT_FALSE(CatalogueLess(c.b, c.a));
    }
    // An embedded zero still orders against what follows it.
    EXPECT_TRUE(CatalogueLess("a\0\x80"s, "a"));
    EXPECT_TRUE(CatalogueLess("a", "a\0b"s));
}

TEST(CatalogueLess, IsAStrictWeakOrderingOnAnyBytes) {
    // A small alphabet gives many ties and common prefixes; it holds the zero byte,
    // the high half, the letters that fold and the bytes between 'Z' and 'a'.
    const std::string alphabet = "\0\x01 %0AaBbZz[_`\x7F\x80\xC4\xE4\xFF"s;
    std::mt19937 random(20240611);
    std::vector<std::string> texts;
    for (int i = 0; i < 160; ++i) {
        std::string text(random() % 5, ' ');
        for (char& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        texts.push_back(text);
    }
    const size_t n = texts.size();
    std::vector<std::vector<char>> less(n, std::vector<char>(n));
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j < n; ++j) {
            less[i][j] = CatalogueLess(texts[i], texts[j]);
        }
    }
    int failures = 0;
    for (size_t i = 0; i < n && failures < 5; ++i) {
        EXPECT_FALSE(less[i][i]) << ++failures;
        for (size_t j = 0; j < n && failures < 5; ++j) {
            if (less[i][j] && less[j][i]) {
                ADD_FAILURE() << "asymmetry " << i << " " << j << " " << ++failures;
            }
            for (size_t k = 0; k < n && failures < 5; ++k) {
                if (less[i][j] && less[j][k] && !less[i][k]) {
                    ADD_FAILURE() << "transitivity " << i << " " << j << " " << k << " "
                                  << ++failures;
                }
                const bool ijEqual = !less[i][j] && !less[j][i];
                const bool jkEqual = !less[j][k] && !less[k][j];
                const bool ikEqual = !less[i][k] && !less[k][i];
                if (ijEqual && jkEqual && !ikEqual) {
                    ADD_FAILURE() << "incomparability " << i << " " << j << " " << k << " "
                                  << ++failures;
                }
            }
        }
    }
    // The random texts must actually exercise ties, or the checks above prove little.
    int ties = 0;
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = i + 1; j < n; ++j) {
            ties += !less[i][j] && !less[j][i] && texts[i] != texts[j];
        }
    }
    EXPECT_GT(ties, 0);
}

TEST(SessionNames, ConvertOnlyBlanksAndPercentTwenty) {
    const struct {
        std::string keyName, displayName;
    } cases[] = {
        // PuTTY writes a blank before "01" as the "%20" that starts "%2001".
        {"web%20server%2001", "web server 01"},
        {"a%25b", "a%25b"},
        {"plain", "plain"},
        {"%20", " "},
        {"%20%20", "  "},
        {"a%2", "a%2"},
        {"a%41b", "a%41b"},
        {"%2020", " 20"},
        {"Büro%20Köln", "Büro Köln"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keyName);
        EXPECT_EQ(SessionDisplayName(c.keyName), c.displayName);
    }
    EXPECT_EQ(SessionKeyName("web server 01"), "web%20server%2001");
    EXPECT_EQ(SessionKeyName("  x"), "%20%20x");
    EXPECT_EQ(SessionKeyName("a%20b"), "a%20b");
    EXPECT_EQ(SessionKeyName("Büro Köln"), "Büro%20Köln");
}

TEST(BuildCatalogue, GroupsAndSortsByCatalogueOrder) {
    const SessionCatalogue c = BuildCatalogue({
        {"zeta", "Zoo"},
        {"Default%20Settings", ""},
        {"beta", "ärger"},
        {"alpha", "Alpha"},
        {"ärger", ""},
        {"gamma", "Zoo"},
        {"%20", "   "},
        {"delta", "Alpha "}, // a trailing blank makes another menu
    });
    EXPECT_EQ(c.menuNames, (std::vector<std::string>{"ärger", "   ", "Alpha", "Alpha ", "Zoo"}));
    EXPECT_EQ(c.allSessions,
              (std::vector<std::string>{"ärger", "%20", "alpha", "beta", "Default%20Settings",
                                        "delta", "gamma", "zeta"}));
    EXPECT_EQ(c.assignedSessions,
              (std::vector<std::string>{"%20", "alpha", "beta", "delta", "gamma", "zeta"}));
    EXPECT_EQ(c.unassignedSessions, (std::vector<std::string>{"ärger", "Default%20Settings"}));
    EXPECT_EQ(c.menuOfSession, (std::unordered_map<std::string, std::string>{{"zeta", "Zoo"},
                                                                             {"beta", "ärger"},
                                                                             {"alpha", "Alpha"},
                                                                             {"gamma", "Zoo"},
                                                                             {"%20", "   "},
                                                                             {"delta", "Alpha "}}));
    EXPECT_TRUE(c.menuItemSessions.empty());
}

TEST(BuildCatalogue, MenusDifferingInCaseAreDistinct) {
    const SessionCatalogue c =
        BuildCatalogue({{"a", "Server"}, {"b", "server"}, {"c", "Server"}, {"d", "SERVER"}});
    // The three names tie in catalogue order, so only their set is fixed.
    EXPECT_EQ(std::set<std::string>(c.menuNames.begin(), c.menuNames.end()),
              (std::set<std::string>{"Server", "server", "SERVER"}));
    EXPECT_EQ(c.menuNames.size(), 3u);
    EXPECT_EQ(c.menuOfSession.at("b"), "server");
    EXPECT_EQ(c.menuOfSession.at("c"), "Server");
}

} // namespace
} // namespace quarnel
