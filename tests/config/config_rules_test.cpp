// The window-free decisions of the configuration window.
#include "config/config_rules.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(BrowsePresetTest, SplitsAtTheLastBackslashAndDropsImpossibleNames) {
    const struct {
        std::string path, folder, fileName;
    } cases[] = {
        {"C:\\\\putty.exe", "C:\\", "putty.exe"}, // a drive root start folder
        {"putty.exe", "", "putty.exe"},           // no backslash: the system picks the folder
        {"", "", ""},
        {"C:\\Tools\\", "C:\\Tools", ""},
        {"D:\\a b\\grün putty.exe", "D:\\a b", "grün putty.exe"},
    };
    for (const auto& c : cases) {
        const BrowsePreset preset = SplitBrowsePreset(c.path);
        EXPECT_EQ(preset.folder + "|" + preset.fileName, c.folder + "|" + c.fileName) << c.path;
    }
    for (const char impossible : std::string("\"/:*?<>|\t\x1f")) {
        EXPECT_EQ(SplitBrowsePreset(std::string("C:\\x\\a") + impossible + "b").fileName, "")
            << int(impossible);
    }
}

TEST(CipherTextTest, CipherTextsOfAtMost254BytesCanBeStored) {
    EXPECT_TRUE(CanStoreCipherText(""));
    EXPECT_TRUE(CanStoreCipherText(std::string(254, '\xff')));
    EXPECT_FALSE(CanStoreCipherText(std::string(255, 'x')));
    EXPECT_TRUE(CanStoreCipherText(std::string("ab\0c", 4)));
}

} // namespace
} // namespace quarnel
