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
        {"umschalt+WIN+a", 0xC, 0x41, "Umschalt+Win+A"},
        {"Alt+Strg+0", 0x3, 0x30, "Strg+Alt+0"},
        {"Win+9", 0x8, 0x39, "Win+9"},
        {"Alt+z", 0x1, 0x5A, "Alt+Z"},
        {" Strg + leertaste ", 0x2, 0x20, "Strg+Leertaste"},
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
    EXPECT_EQ(ParseHotkey("  "), Hotkey{});
    for (const char* bad : {"Strg+", "+P", "Strg+Strg+P", "Strg+F25", "Strg+AB", "Strg+F0",
                            "Strg+F01", "Strg+F1/", "P", "Leertaste", "Ctrl+P", "Strg+Ä"}) {
        EXPECT_EQ(ParseHotkey(bad), (Hotkey{true, 0x3, 0x50})) << bad;
    }
}

TEST(HotkeyTextTest, NoTextForWhatCannotBeWritten) {
    // Off; keys without a name (the one after F24 too); an unknown modifier; no modifier.
    const Hotkey cases[] = {
        {false, 2, 0x50}, {true, 2, 0x5B}, {true, 2, 0x88}, {true, 0x10, 0x50}, {true, 0, 0x50}};
    for (const Hotkey& h : cases) {
        EXPECT_EQ(HotkeyText(h), "") << h.modifiers << " " << h.virtualKey;
    }
}

} // namespace
} // namespace quarnel
