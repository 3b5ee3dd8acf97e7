// The text forms of values and the split of a path: the documented examples and the edges
// a fuzzer cannot name (tools/fuzz has the rest).
#include "registry/registry_path.h"
#include "registry/value_text.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(ValueText, NumbersAndHexBytesReadAsTheSettingsHaveAlwaysBeenRead) {
    // Blanks are skipped, tabs are not; arithmetic wraps at 32 bits.
    const std::pair<const char*, int32_t> numbers[] = {
        {"   -5abc", -5}, {"\t5", 0}, {"4294967295", -1}};
    for (const auto& [text, number] : numbers) {
        EXPECT_EQ(ParseDecimal(text), number) << '"' << text << '"';
    }
    EXPECT_EQ(ParseHexBytes("0aFf7"), (std::vector<uint8_t>{10, 255})); // an odd last digit goes
    EXPECT_EQ(FormatHexBytes({0, 10, 255}), "000AFF");
}

TEST(SplitRegistryPath, RootsSubkeysAndSeparators) {
    const RegistryPath split = SplitRegistryPath("hkey_Local_Machine\\\\SOFTWARE\\");
    EXPECT_EQ(split.root, RegistryRoot::LocalMachine);
    EXPECT_EQ(split.subKey, "SOFTWARE\\"); // a doubled separator counts once, a trailing one stays
    EXPECT_EQ(SplitRegistryPath("HKEY_CURRENT_USER").subKey, "HKEY_CURRENT_USER");
}

} // namespace
} // namespace quarnel
