// The text forms in which registry values travel through the program. Window-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

// Leading blanks skipped, one optional '-' or '+', then decimal digits up to the first
// non-digit; no digits give 0. Arithmetic wraps at 32 bits, as the stored settings
// have always been read.
int32_t ParseDecimal(std::string_view text);

// Signed decimal text of a number ("-1" for all bits set).
std::string FormatDecimal(int32_t value);

// Two upper-case hexadecimal digits per byte, no separators.
std::string FormatHexBytes(const std::vector<uint8_t>& bytes);

// 0 to 15 for a hexadecimal digit (either case), -1 for anything else.
int HexDigitValue(char c);

// Pairs of hexadecimal digits (0-9, A-F, a-f), one byte per pair; a last odd character
// is ignored. A character that is not a hexadecimal digit counts as 0.
std::vector<uint8_t> ParseHexBytes(std::string_view text);

} // namespace quarnel
