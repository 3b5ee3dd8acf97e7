// The order in which the keyboard walks a window's gadgets.
#include "win/gadget_rows.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

constexpr GadgetKind F = GadgetKind::Frame, B = GadgetKind::Button;

TEST(ScreenOrder, GroupByGroupTopToBottomAndAlongARowLeftToRight) {
    const struct {
        std::vector<GadgetSpec> gadgets;
        std::vector<int> numbers; // in the order walked
    } cases[] = {
        // Tops less than 10 pixels apart stand in one row.
        {{{1, B, 50, 10, 9, 9}, {2, B, 0, 19, 9, 9}, {3, B, 0, 20, 9, 9}}, {2, 1, 3}},
        // A frame, then what lies in it from its top left corner on, and no further than
        // its right edge; frames before what follows them.
        {{{1, B, 0, 100, 5, 5},
          {2, F, 0, 100, 100, 50},
          {3, B, 99, 149, 5, 5},
          {4, B, 100, 110, 5, 5}},
         {2, 1, 3, 4}},
        // A gadget belongs to the innermost frame around it.
        {{{1, F, 0, 0, 300, 300}, {2, F, 10, 10, 100, 100}, {3, B, 20, 20, 5, 5}}, {1, 2, 3}},
    };
    for (const auto& c : cases) {
        std::vector<int> numbers;
        for (const size_t i : ScreenOrder(c.gadgets)) {
            numbers.push_back(c.gadgets[i].number);
        }
        EXPECT_EQ(numbers, c.numbers);
    }
}

} // namespace
} // namespace quarnel
