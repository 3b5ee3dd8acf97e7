// The window-free helpers of the settings store.
#include "config/settings.h"
#include "win/font_height.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(SettingValues, AFlagTakesTheLowEightBits) {
    const struct {
        int32_t number;
        int8_t flag;
    } cases[] = {{0, 0}, {1, 1}, {255, -1}, {256, 0}, {257, 1}, {-1, -1}, {-256, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(FlagFromNumber(c.number), c.flag) << c.number;
    }
}

TEST(SettingValues, FontHeightsFollowThePointSizeAtTheResolution) {
    EXPECT_EQ(FontHeightForPoints(10, 96), -13);
    EXPECT_EQ(FontHeightForPoints(8, 96), -11);
    EXPECT_EQ(FontHeightForPoints(20, 96), -27);
    EXPECT_EQ(FontHeightForPoints(12, 144), -24);
}

} // namespace
} // namespace quarnel
