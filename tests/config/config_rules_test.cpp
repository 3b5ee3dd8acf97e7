// The window-free decisions of the configuration window.
#include "config/config_rules.h"
#include "sessions/catalogue.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(BrowsePresetTest, SplitsAtTheLastBackslashAndDropsImpossibleNames) {
    const struct {
        const char* path;
        const char* folder;
        const char* fileName;
    } cases[] = {
        {"C:\\Programme\\PuTTY\\putty.exe", "C:\\Programme\\PuTTY", "putty.exe"},
        {"C:\\putty.exe", "C:", "putty.exe"},
        {"C:\\\\putty.exe", "C:\\", "putty.exe"}, // a drive root start folder
        {"putty.exe", "", "putty.exe"},           // no backslash: the system picks the folder
        {"", "", ""},
        {"C:\\Tools\\", "C:\\Tools", ""},
        {"D:\\a b\\mein putty.exe", "D:\\a b", "mein putty.exe"},
        {"C:\\x\\pu:tty.exe", "C:\\x", ""},
        {"C:\\x\\a/b", "C:\\x", ""},
        {"C:\\x\\\"putty\"", "C:\\x", ""},
        {"C:\\x\\*.exe", "C:\\x", ""},
        {"C:\\x\\wer?.exe", "C:\\x", ""},
        {"C:\\x\\<a>", "C:\\x", ""},
        {"C:\\x\\a|b", "C:\\x", ""},
        {"C:\\x\\tab\there", "C:\\x", ""},
        {"C:\\x\\grün.exe", "C:\\x", "grün.exe"}, // bytes above 127 are fine
        {"pu:tty", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const BrowsePreset preset = SplitBrowsePreset(c.path);
        EXPECT_EQ(preset.folder, c.folder);
        EXPECT_EQ(preset.fileName, c.fileName);
    }
}

TEST(CipherTextTest, OnlyTextsWithoutZeroBytesOfAtMost254BytesCanBeStored) {
    using namespace std::string_literals;
    const struct {
        std::string cipherText;
        bool storable;
    } cases[] = {
        {"", true},
        {"abc", true},
        {"\xff\x01\x80", true},
        {std::string(254, 'x'), true},
        {std::string(255, 'x'), false},
        {"\0"s, false},
        {"ab\0c"s, false},
        {"abc\0"s, false},
        {std::string(253, 'x') + '\0', false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CanStoreCipherText(c.cipherText), c.storable) << c.cipherText.size();
    }
}

TEST(AutostartValueTest, IsTheProgramFileInDoubleQuotes) {
    EXPECT_EQ(AutostartRunValue("C:\\Program Files\\Quarnel\\quarnel.exe"),
              "\"C:\\Program Files\\Quarnel\\quarnel.exe\"");
    EXPECT_EQ(AutostartRunValue("Z:\\q.exe"), "\"Z:\\q.exe\"");
}

TEST(MenuSaveTest, EmptyDeletesAndOnlyANewTextIsAppended) {
    const std::vector<std::string> entries = {"", "---------------------", "Server", "Alpha",
                                              "---------------------"};
    const struct {
        const char* text;
        MenuSave decision;
    } cases[] = {
        {"", MenuSave::Delete},
        {"Server", MenuSave::Store},
        {"server", MenuSave::StoreAndAppend}, // names compare with case
        {"Server ", MenuSave::StoreAndAppend},
        {"Neu", MenuSave::StoreAndAppend},
        {"---------------------", MenuSave::Store},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecideMenuSave(c.text, entries), c.decision) << c.text;
    }
    EXPECT_EQ(DecideMenuSave("x", {}), MenuSave::StoreAndAppend);
}

TEST(SessionKeyTest, BlanksBecomePercentTwentyAndNoSelectionNamesNoKey) {
    EXPECT_EQ(SessionKeyOfEntry("web server"), SessionsKey + "web%20server");
    EXPECT_EQ(SessionKeyOfEntry("Bitte Session wählen:"),
              SessionsKey + "Bitte%20Session%20wählen:");
    EXPECT_EQ(SessionKeyOfEntry("a%2Fb"), SessionsKey + "a%2Fb");
    EXPECT_EQ(SessionKeyOfEntry(""), "");
}

} // namespace
} // namespace quarnel
