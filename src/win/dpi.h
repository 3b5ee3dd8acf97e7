// Positions and sizes of the windows are given in pixels at 96 dpi.
#pragma once

#include <windows.h>

namespace quarnel {

inline int ScaleForDpi(int pixelsAt96, UINT dpi) {
    return MulDiv(pixelsAt96, static_cast<int>(dpi), 96);
}

} // namespace quarnel
