// Catalogue order; the catalogue's lists show in the menus.
#include "sessions/catalogue.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(CatalogueLess, FoldsAToZAndReadsBytesSigned) {
    // Each pair in catalogue order, or a tie when neither comes first. Bytes above 127
    // are negative, below the end of a text; umlauts do not fold; Z and A fold to z and
    // a, above [ and _; a stored %20 sorts as %.
    const struct {
        std::string first, second;
        bool tie = false;
    } cases[] = {
        {"abc", "ABD"},     {"abc", "abcd"},      {"Büro", "Bus"}, {"xä", "x"},
        {"ärger", "Alpha"}, {"Alpha", "Zoo"},     {"Ä", "ä"},      {"x\x80", "x\xFF"},
        {"x", "x\x7F"},     {"[", "Z"},           {"_", "A"},      {"a b", "a%20b"},
        {"a%20b", "a0"},    {"ABC", "abc", true}, {"", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first + " | " + c.second);
        EXPECT_EQ(CatalogueLess(c.first, c.second), !c.tie);
        EXPECT_FALSE(CatalogueLess(c.second, c.first));
    }
}

} // namespace
} // namespace quarnel
