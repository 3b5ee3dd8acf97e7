// The window-free helpers of settings.h; the loaders beside them read the registry.
#include "config/settings.h"

namespace quarnel {

int8_t FlagFromNumber(int32_t number) {
    return static_cast<int8_t>(static_cast<uint8_t>(static_cast<uint32_t>(number) & 0xFFu));
}

} // namespace quarnel
