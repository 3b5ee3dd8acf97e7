// The quick search hotkey as written in the program key.
#include "config/hotkey_text.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(HotkeyTextTest, ReadsEveryModifierAndKeyKindAndWritesThemBack) {
    const struct {
        std::string text;
        unsigned modifiers, virtualKey;
        std::string written;
    } cases[] = {
        {"Strg+Alt+P", 0x3, 0x50, "Strg+Alt+P"},
        {"umschalt+WIN+a", 0xC, 0x41, "Umschalt+Win+A"},
        {"Alt+Strg+0", 0x3, 0x30, "Strg+Alt+0"},
        {"Win+9", 0x8, 0x39, "Win+9"},
        {"Alt+z", 0x1, 0x5A, "Alt+Z"},
        {" Strg + leertaste ", 0x2, 0x20, "Strg+Leertaste"},
        {"F1", 0x0, 0x70, "F1"},
        {"f24", 0x0, 0x87, "F24"},
        {"Win+Umschalt+Alt+Strg+F12", 0xF, 0x7B, "Strg+Alt+Umschalt+Win+F12"},
    };
    for (const auto& c : cases) {
        const Hotkey hotkey = ParseHotkey(c.text);
        EXPECT_EQ(hotkey, (Hotkey{true, c.modifiers, c.virtualKey})) << c.text;
        EXPECT_EQ(HotkeyText(hotkey), c.written);
    }
}

TEST(HotkeyTextTest, EmptyIsOffAndAnythingElseIsTheDefault) {
    EXPECT_EQ(ParseHotkey(""), Hotkey{});
    EXPECT_EQ(ParseHotkey("  "), Hotkey{});
    for (const char* bad : {"Strg+", "+P", "Strg+Strg+P", "Strg+F25", "Strg+AB", "Strg+F0",
                            "Strg+F01", "P", "Leertaste", "Strg+Alt", "Ctrl+P", "Strg+P+Alt",
                            "Strg++P", "Strg+Ä", "Strg-P", "Strg+F1x"}) {
        EXPECT_EQ(ParseHotkey(bad), (Hotkey{true, 0x3, 0x50})) << bad;
    }
}

TEST(HotkeyTextTest, NoTextForWhatCannotBeWritten) {
    const Hotkey cases[] = {
        {false, 0x2, 0x50}, {true, 0x2, 0x5B}, {true, 0x10, 0x50}, {true, 0x0, 0x50}};
    for (const Hotkey& h : cases) {
        EXPECT_EQ(HotkeyText(h), "") << h.modifiers << " " << h.virtualKey;
    }
}

} // namespace
} // namespace quarnel
