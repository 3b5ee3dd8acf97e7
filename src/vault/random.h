// Random bytes from the system's generator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace quarnel {

std::optional<std::vector<uint8_t>> RandomBytes(size_t count);

} // namespace quarnel
