#include "registry/registry_path.h"
#include "registry/value_text.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(ParseDecimal, ReadsLeadingNumberAndWrapsAt32Bits) {
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"0", 0},
        {"42", 42},
        {"-5", -5},
        {"+7", 7},
        {"   12", 12},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"--5", 0},
        {"\t5", 0}, // only blanks are skipped
        {" - 5", 0},
        {"2147483647", 2147483647},
        {"2147483648", INT32_MIN},
        {"4294967295", -1},
        {"4294967296", 0},
        {"-2147483648", INT32_MIN},
        {"99999999999", 1215752191},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDecimal(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(HexBytes, FormatAndParseAgree) {
    const struct {
        std::vector<uint8_t> bytes;
        const char* text;
    } cases[] = {
        {{}, ""},
        {{0, 255, 122}, "00FF7A"},
        {{0, 10, 255}, "000AFF"},
        {{0x12, 0xAB}, "12AB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatHexBytes(c.bytes), c.text);
        EXPECT_EQ(ParseHexBytes(c.text), c.bytes) << c.text;
    }
}

TEST(HexBytes, ParsingAcceptsLowerCaseAndIgnoresAnOddLastCharacter) {
    EXPECT_EQ(ParseHexBytes("abC"), (std::vector<uint8_t>{171}));
    EXPECT_EQ(ParseHexBytes("0aff"), (std::vector<uint8_t>{10, 255}));
    EXPECT_EQ(ParseHexBytes("F"), (std::vector<uint8_t>{}));
}

TEST(SplitRegistryPath, RootsSubkeysAndSeparators) {
    const struct {
        const char* path;
        RegistryRoot root;
        const char* subKey;
    } cases[] = {
        {"HKEY_CURRENT_USER\\Software\\X", RegistryRoot::CurrentUser, "Software\\X"},
        {"hkey_current_user\\Software", RegistryRoot::CurrentUser, "Software"},
        {"HKEY_Local_Machine\\SOFTWARE\\", RegistryRoot::LocalMachine, "SOFTWARE\\"},
        {"HKEY_CLASSES_ROOT\\.txt", RegistryRoot::ClassesRoot, ".txt"},
        {"HKEY_USERS\\.DEFAULT", RegistryRoot::Users, ".DEFAULT"},
        {"HKEY_CURRENT_CONFIG\\System", RegistryRoot::CurrentConfig, "System"},
        {"HKEY_CURRENT_USER\\\\Software", RegistryRoot::CurrentUser, "Software"},
        {"HKEY_CURRENT_USER\\\\\\Software", RegistryRoot::CurrentUser, "\\Software"},
        {"HKEY_CURRENT_USER\\", RegistryRoot::CurrentUser, ""},
        {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser, "HKEY_CURRENT_USER"},
        {"HKCU\\Software", RegistryRoot::None, ""},
        {"HKEY_CURRENT_USERS\\Software", RegistryRoot::None, ""},
        {" HKEY_CURRENT_USER\\Software", RegistryRoot::None, ""},
        {"\\HKEY_CURRENT_USER\\Software", RegistryRoot::None, ""},
        {"", RegistryRoot::None, ""},
    };
    for (const auto& c : cases) {
        const RegistryPath split = SplitRegistryPath(c.path);
        EXPECT_EQ(split.root, c.root) << c.path;
        EXPECT_EQ(split.subKey, c.subKey) << c.path;
    }
}

} // namespace
} // namespace quarnel
