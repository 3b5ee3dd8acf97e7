#include "app/geometry.h"

#include <algorithm>

namespace quarnel {

ClientSize ClampClientSize(ClientSize stored, ClientSize needed, ClientSize largest) {
    return {std::max(needed.width, std::min(stored.width, largest.width)),
            std::max(needed.height, std::min(stored.height, largest.height))};
}

} // namespace quarnel
