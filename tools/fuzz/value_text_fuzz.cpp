// The text forms of registry values: decimal and hexadecimal, read and written.
#include "fuzz/fuzz_check.h"
#include "registry/value_text.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using quarnel::FormatDecimal;
using quarnel::FormatHexBytes;
using quarnel::ParseDecimal;
using quarnel::ParseHexBytes;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// The leading number of a text, worked out the long way round: the digits are read by
// the standard library when they fit into 64 bits, then brought down to 32.
void CheckParseDecimal(std::string_view text) {
    size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos) {
        FUZZ_CHECK(ParseDecimal(text) == 0);
        return;
    }
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+') {
        ++i;
    }
    while (i < text.size() && text[i] == '0') {
        ++i;
    }
    size_t end = i;
    while (end < text.size() && IsDigit(text[end])) {
        ++end;
    }
    if (end - i > 19) {
        return; // beyond what from_chars reads into 64 bits
    }
    uint64_t magnitude = 0;
    if (end > i) {
        const auto [ptr, error] = std::from_chars(text.data() + i, text.data() + end, magnitude);
        FUZZ_CHECK(error == std::errc() && ptr == text.data() + end);
    }
    const uint32_t low = static_cast<uint32_t>(magnitude);
    const uint32_t expected = negative ? 0u - low : low;
    FUZZ_CHECK(ParseDecimal(text) == static_cast<int32_t>(expected));
}

void CheckFormatDecimal(int32_t value) {
    const std::string text = FormatDecimal(value);
    FUZZ_CHECK(!text.empty() && text.size() <= 11);
    const size_t digits = text[0] == '-' ? 1 : 0;
    FUZZ_CHECK(text.size() > digits);
    FUZZ_CHECK(text.find_first_not_of("0123456789", digits) == std::string::npos);
    FUZZ_CHECK(text[digits] != '0' || text == "0");
    int32_t back = 0;
    const auto [ptr, error] = std::from_chars(text.data(), text.data() + text.size(), back);
    FUZZ_CHECK(error == std::errc() && ptr == text.data() + text.size() && back == value);
    FUZZ_CHECK(ParseDecimal(text) == value);
}

void CheckParseHex(std::string_view text) {
    const std::vector<uint8_t> bytes = ParseHexBytes(text);
    FUZZ_CHECK(bytes.size() == text.size() / 2);
    bool allHex = true;
    std::string upper;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int high = HexValue(text[2 * i]);
        const int low = HexValue(text[2 * i + 1]);
        allHex = allHex && high >= 0 && low >= 0;
        // A character that is no hexadecimal digit counts as 0.
        FUZZ_CHECK(bytes[i] == (high < 0 ? 0 : high) * 16 + (low < 0 ? 0 : low));
        for (const char c : text.substr(2 * i, 2)) {
            upper += (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
        }
    }
    if (allHex) {
        FUZZ_CHECK(FormatHexBytes(bytes) == upper);
    }
}

void CheckFormatHex(const std::vector<uint8_t>& bytes) {
    const std::string text = FormatHexBytes(bytes);
    FUZZ_CHECK(text.size() == 2 * bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned value = 0;
        const char* pair = text.data() + 2 * i;
        const auto [ptr, error] = std::from_chars(pair, pair + 2, value, 16);
        FUZZ_CHECK(error == std::errc() && ptr == pair + 2 && value == bytes[i]);
        FUZZ_CHECK(HexValue(pair[0]) >= 0 && !(pair[0] >= 'a' && pair[0] <= 'f'));
        FUZZ_CHECK(HexValue(pair[1]) >= 0 && !(pair[1] >= 'a' && pair[1] <= 'f'));
    }
    FUZZ_CHECK(ParseHexBytes(text) == bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckParseDecimal(text);
    CheckFormatDecimal(ParseDecimal(text));
    if (size >= 4) {
        uint32_t raw = 0;
        for (size_t i = 0; i < 4; ++i) {
            raw = raw << 8 | data[i];
        }
        CheckFormatDecimal(static_cast<int32_t>(raw));
    }
    CheckParseHex(text);
    CheckFormatHex(std::vector<uint8_t>(data, data + size));
    return 0;
}
