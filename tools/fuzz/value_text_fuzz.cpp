// The text forms of registry values against the standard library's reading of them.
// (FormatDecimal is the standard library's own.)
#include "fuzz/fuzz_check.h"
#include "registry/value_text.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using quarnel::FormatHexBytes;
using quarnel::ParseDecimal;
using quarnel::ParseHexBytes;

// One hexadecimal digit as the standard library reads it; -1 for anything else.
int HexDigit(char c) {
    unsigned value = 0;
    return std::from_chars(&c, &c + 1, value, 16).ec == std::errc() ? static_cast<int>(value) : -1;
}

// Blanks, a sign, then the digits, read into 64 bits by the standard library (leading
// zeros dropped, up to 19 digits) and brought down to 32.
void CheckParseDecimal(std::string_view text) {
    size_t i = std::min(text.find_first_not_of(' '), text.size());
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (negative || text[i] == '+')) {
        ++i;
    }
    i = std::min(text.find_first_not_of('0', i), text.size());
    const size_t end = std::min(text.find_first_not_of("0123456789", i), text.size());
    if (end - i > 19) {
        return;
    }
    uint64_t magnitude = 0;
    std::from_chars(text.data() + i, text.data() + end, magnitude);
    const auto low = static_cast<uint32_t>(magnitude);
    FUZZ_CHECK(ParseDecimal(text) == static_cast<int32_t>(negative ? 0u - low : low));
}

void CheckParseHex(std::string_view text) {
    const std::vector<uint8_t> bytes = ParseHexBytes(text);
    FUZZ_CHECK(bytes.size() == text.size() / 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        // A character that is no hexadecimal digit counts as 0.
        FUZZ_CHECK(bytes[i] == std::max(HexDigit(text[2 * i]), 0) * 16 +
                                   std::max(HexDigit(text[2 * i + 1]), 0));
    }
}

void CheckFormatHex(const std::vector<uint8_t>& bytes) {
    const std::string text = FormatHexBytes(bytes);
    FUZZ_CHECK(text.size() == 2 * bytes.size());
    FUZZ_CHECK(text.find_first_not_of("0123456789ABCDEF") == std::string::npos);
    for (size_t i = 0; i < bytes.size(); ++i) {
        FUZZ_CHECK(HexDigit(text[2 * i]) * 16 + HexDigit(text[2 * i + 1]) == bytes[i]);
    }
    FUZZ_CHECK(ParseHexBytes(text) == bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckParseDecimal(text);
    CheckParseHex(text);
    CheckFormatHex(std::vector<uint8_t>(data, data + size));
    return 0;
}
