// Catalogue order; the catalogue's lists show in the menus.
#include "sessions/catalogue.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(CatalogueLess, FoldsAToZAndReadsBytesSigned) {
    // Each pair in catalogue order, or a tie when neither comes first: bytes above 127
    // are negative, below the end of a text; umlauts do not fold; Z folds to z, above [.
    // (The fuzz target compares every order with a reference.)
    const struct {
        std::string first, second;
        bool tie = false;
    } cases[] = {
        {"abc", "ABD"}, {"Büro", "Bus"}, {"xä", "x"}, {"Ä", "ä"}, {"[", "Z"}, {"ABC", "abc", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first + " | " + c.second);
        EXPECT_EQ(CatalogueLess(c.first, c.second), !c.tie);
        EXPECT_FALSE(CatalogueLess(c.second, c.first));
    }
}

} // namespace
} // namespace quarnel
