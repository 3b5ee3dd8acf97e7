#include "win/font_height.h"

namespace quarnel {

int FontHeightForPoints(int points, int dotsPerInch) {
    // Rounded to the nearest pixel, as MulDiv does.
    return -((points * dotsPerInch + 36) / 72);
}

} // namespace quarnel
