// The global hotkey of the quick search as the user writes it in the program key, e.g.
// "Strg+Alt+P". Window-free: the values are those RegisterHotKey takes.
#pragma once

#include <string>
#include <string_view>

namespace quarnel {

// REG_SZ in the program key. Empty switches the hotkey off; a text that does not parse
// means DefaultHotkey.
inline const std::string HotkeyValueName = "SchnellsucheHotkey";

inline constexpr unsigned HotkeyAlt = 0x1;     // MOD_ALT
inline constexpr unsigned HotkeyControl = 0x2; // MOD_CONTROL
inline constexpr unsigned HotkeyShift = 0x4;   // MOD_SHIFT
inline constexpr unsigned HotkeyWin = 0x8;     // MOD_WIN
inline constexpr unsigned HotkeySpace = 0x20;  // VK_SPACE; 'A'-'Z' and '0'-'9' are themselves
inline constexpr unsigned HotkeyF1 = 0x70;     // VK_F1; VK_F24 = HotkeyF1 + 23

struct Hotkey {
    bool enabled = false;
    unsigned modifiers = 0; // Hotkey* modifier bits
    unsigned virtualKey = 0;
    bool operator==(const Hotkey&) const = default;
};

inline constexpr Hotkey DefaultHotkey{true, HotkeyControl | HotkeyAlt, 'P'};

// The text: modifiers "Strg", "Alt", "Umschalt", "Win" in any order, each at most once,
// then one key: "A"-"Z", "0"-"9", "F1"-"F24" or "Leertaste", all joined with "+". Names
// compare without regard to case; blanks around a part are ignored. At least one
// modifier is needed, except before F1-F24: a bare letter, digit or space would be
// taken from every other program. A text of blanks only counts as empty.
Hotkey ParseHotkey(std::string_view text);

} // namespace quarnel
