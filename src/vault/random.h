// Random bytes from the system's generator.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace quarnel {

std::optional<std::vector<unsigned char>> RandomBytes(size_t count);

} // namespace quarnel
