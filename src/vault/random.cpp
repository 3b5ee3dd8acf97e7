#include "vault/random.h"

#include <windows.h>

#include <bcrypt.h>

namespace quarnel {

std::optional<std::vector<uint8_t>> RandomBytes(size_t count) {
    std::vector<uint8_t> bytes(count);
    if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, bytes.data(), static_cast<ULONG>(count),
                                        BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace quarnel
