// The catalogue order against a reference: the texts padded with zeros to one length,
// A-Z folded, compared as signed bytes. Being such a lexicographic order, it is a strict
// weak ordering on any bytes, as sorting the sessions needs.
//
// Input: the first byte separates, the rest is the texts between separators (at most
// eight are looked at), so every byte value can appear in some text.
#include "fuzz/fuzz_check.h"
#include "sessions/catalogue.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

std::vector<int8_t> Key(std::string_view text, size_t length) {
    std::vector<int8_t> key(length, 0);
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        key[i] = static_cast<int8_t>((byte >= 'A' && byte <= 'Z') ? byte | 0x20 : byte);
    }
    return key;
}

bool ReferenceLess(std::string_view a, std::string_view b) {
    const size_t length = std::max(a.size(), b.size());
    const std::vector<int8_t> ka = Key(a, length), kb = Key(b, length);
    return std::lexicographical_compare(ka.begin(), ka.end(), kb.begin(), kb.end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const char separator = static_cast<char>(data[0]);
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<std::string_view> texts;
    while (texts.size() < 8) {
        const size_t end = std::min(input.find(separator), input.size());
        texts.push_back(input.substr(0, end));
        if (end == input.size()) {
            break;
        }
        input.remove_prefix(end + 1);
    }
    for (const std::string_view a : texts) {
        for (const std::string_view b : texts) {
            FUZZ_CHECK(quarnel::CatalogueLess(a, b) == ReferenceLess(a, b));
        }
    }
    return 0;
}
