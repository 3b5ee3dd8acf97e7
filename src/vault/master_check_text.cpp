// The window-free part of master_check.h.
#include "vault/master_check.h"

#include "registry/value_text.h"

namespace quarnel {

namespace {

std::optional<std::vector<uint8_t>> HexBytes(std::string_view text, size_t count) {
    if (text.size() != count * 2) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < text.size(); ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0) {
            return std::nullopt;
        }
        bytes[i / 2] = static_cast<uint8_t>(bytes[i / 2] << 4 | digit);
    }
    return bytes;
}

} // namespace

std::optional<MasterCheckParts> ParseMasterCheck(std::string_view stored) {
    const size_t first = stored.find(':');
    const size_t second = first == std::string_view::npos ? first : stored.find(':', first + 1);
    if (second == std::string_view::npos || first == 0 || first > 8) {
        return std::nullopt;
    }
    uint32_t iterations = 0;
    for (const char c : stored.substr(0, first)) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        iterations = iterations * 10 + static_cast<uint32_t>(c - '0');
    }
    // A check made with fewer rounds would be cheap to guess at; more than this would
    // keep the user waiting at every start.
    if (iterations < kMasterCheckIterations || iterations > 10'000'000) {
        return std::nullopt;
    }
    auto salt = HexBytes(stored.substr(first + 1, second - first - 1), 16);
    auto derived = HexBytes(stored.substr(second + 1), 32);
    if (!salt || !derived) {
        return std::nullopt;
    }
    return MasterCheckParts{iterations, std::move(*salt), std::move(*derived)};
}

} // namespace quarnel
