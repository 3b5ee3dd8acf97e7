// Point sizes to pixel heights. Window-free.
#pragma once

namespace quarnel {

// Character height for a point size at a resolution, negative to select the character
// height rather than the cell height.
int FontHeightForPoints(int points, int dotsPerInch);

} // namespace quarnel
