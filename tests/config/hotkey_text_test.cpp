// The quick search hotkey as written in the program key.
#include "config/hotkey_text.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(HotkeyTextTest, ReadsEveryModifierAndKeyKind) {
    const struct {
        std::string text;
        unsigned modifiers, virtualKey;
    } cases[] = {
        {"umschalt+WIN+a", 0xC, 0x41},
        {"Alt+Strg+0", 0x3, 0x30},
        {"Win+9", 0x8, 0x39},
        {"Alt+Z", 0x1, 0x5A},
        {" Strg + leertaste ", 0x2, 0x20},
        {"f24", 0x0, 0x87},
        {"Win+Umschalt+Alt+Strg+F12", 0xF, 0x7B},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseHotkey(c.text), (Hotkey{true, c.modifiers, c.virtualKey})) << c.text;
    }
}

TEST(HotkeyTextTest, EmptyIsOffAndAnythingElseIsTheDefault) {
    EXPECT_EQ(ParseHotkey("  "), Hotkey{});
    for (const char* bad :
         {"Strg+", "+P", "Strg+Strg+P", "Strg+F25", "Strg+AB", "Strg+F0", "Strg+F01", "Strg+F1/",
          "Strg+F1:", "P", "Leertaste", "Ctrl+F5", "Strg+Ä", "Strg+F123"}) {
        EXPECT_EQ(ParseHotkey(bad), (Hotkey{true, 0x3, 0x50})) << bad;
    }
}

} // namespace
} // namespace quarnel
