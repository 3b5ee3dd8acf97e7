// The catalogue order must be a strict weak ordering on any bytes, or sorting the
// sessions is undefined; and it must be the order that folds A-Z and reads bytes signed.
//
// Input: the first byte separates, the rest is the texts between separators (at most
// eight are looked at), so every byte value can appear in some text.
#include "fuzz/fuzz_check.h"
#include "sessions/catalogue.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using quarnel::CatalogueLess;

// The catalogue key of a text: A-Z folded, bytes signed, padded with zeros to a length.
std::vector<int8_t> Key(std::string_view text, size_t length) {
    std::vector<int8_t> key(length, 0);
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const unsigned char folded =
            (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte | 0x20) : byte;
        key[i] = static_cast<int8_t>(folded);
    }
    return key;
}

bool ReferenceLess(std::string_view a, std::string_view b) {
    const size_t length = std::max(a.size(), b.size());
    const std::vector<int8_t> ka = Key(a, length);
    const std::vector<int8_t> kb = Key(b, length);
    return std::lexicographical_compare(ka.begin(), ka.end(), kb.begin(), kb.end());
}

bool Equivalent(std::string_view a, std::string_view b) {
    return !CatalogueLess(a, b) && !CatalogueLess(b, a);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const char separator = static_cast<char>(data[0]);
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<std::string> texts;
    for (size_t start = 0; texts.size() < 8;) {
        const size_t end = std::min(input.find(separator, start), input.size());
        texts.emplace_back(input.substr(start, end - start));
        if (end == input.size()) {
            break;
        }
        start = end + 1;
    }

    for (const std::string& a : texts) {
        FUZZ_CHECK(!CatalogueLess(a, a));
        for (const std::string& b : texts) {
            const bool less = CatalogueLess(a, b);
            FUZZ_CHECK(less == ReferenceLess(a, b));
            FUZZ_CHECK(!(less && CatalogueLess(b, a)));
            for (const std::string& c : texts) {
                if (less && CatalogueLess(b, c)) {
                    FUZZ_CHECK(CatalogueLess(a, c));
                }
                if (Equivalent(a, b) && Equivalent(b, c)) {
                    FUZZ_CHECK(Equivalent(a, c));
                }
            }
        }
    }

    // Sorted from either end, the texts line up tie for tie.
    std::vector<std::string> forward = texts;
    std::vector<std::string> backward(texts.rbegin(), texts.rend());
    std::sort(forward.begin(), forward.end(), CatalogueLess);
    std::sort(backward.begin(), backward.end(), CatalogueLess);
    FUZZ_CHECK(std::is_sorted(forward.begin(), forward.end(), CatalogueLess));
    for (size_t i = 0; i < forward.size(); ++i) {
        FUZZ_CHECK(Equivalent(forward[i], backward[i]));
    }
    return 0;
}
