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

TEST(DecideMenuSaveTest, EmptyDeletesAndOnlyAnEntryOfTheSameBytesIsNotAppended) {
    const std::vector<std::string> entries = {"Prod", "Test"};
    EXPECT_EQ(DecideMenuSave("", entries), MenuSave::Delete);
    EXPECT_EQ(DecideMenuSave("Test", entries), MenuSave::Store);
    EXPECT_EQ(DecideMenuSave("test", entries), MenuSave::StoreAndAppend);
}

TEST(ReadsBackWholeTest, AtMost254Characters) {
    EXPECT_TRUE(ReadsBackWhole(std::string(254, '\xff')));
    EXPECT_FALSE(ReadsBackWhole(std::string(255, 'x')));
}

} // namespace
} // namespace quarnel
