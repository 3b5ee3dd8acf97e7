#include "config/hotkey_text.h"

#include <vector>

namespace quarnel {

namespace {

struct Modifier {
    const char* name;
    unsigned bit;
};
constexpr Modifier kModifiers[] = {
    {"Strg", HotkeyControl}, {"Alt", HotkeyAlt}, {"Umschalt", HotkeyShift}, {"Win", HotkeyWin}};
constexpr int kFunctionKeys = 24;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

bool IsFunctionKey(unsigned vk) {
    return vk >= HotkeyF1 && vk < HotkeyF1 + kFunctionKeys;
}

// The virtual key named, or 0.
unsigned KeyOf(std::string_view name) {
    if (name.size() == 1) {
        const char c = Lower(name[0]);
        if (c >= 'a' && c <= 'z') {
            return static_cast<unsigned>(c - 'a' + 'A');
        }
        if (c >= '0' && c <= '9') {
            return static_cast<unsigned>(c);
        }
        return 0;
    }
    if (SameName(name, "Leertaste")) {
        return HotkeySpace;
    }
    // F1 to F24 without leading zeros.
    if (name.size() > 3 || Lower(name[0]) != 'f' || name[1] < '1' || name[1] > '9') {
        return 0;
    }
    int n = name[1] - '0';
    if (name.size() == 3) {
        if (name[2] < '0' || name[2] > '9') {
            return 0;
        }
        n = n * 10 + (name[2] - '0');
    }
    return n <= kFunctionKeys ? HotkeyF1 + static_cast<unsigned>(n - 1) : 0;
}

unsigned ModifierOf(std::string_view name) {
    for (const Modifier& m : kModifiers) {
        if (SameName(name, m.name)) {
            return m.bit;
        }
    }
    return 0;
}

} // namespace

Hotkey ParseHotkey(std::string_view text) {
    if (TrimBlanks(text).empty()) {
        return Hotkey{};
    }
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t plus = text.find('+', start);
        parts.push_back(TrimBlanks(text.substr(start, plus - start)));
        if (plus == std::string_view::npos) {
            break;
        }
        start = plus + 1;
    }
    unsigned modifiers = 0;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        const unsigned bit = ModifierOf(parts[i]);
        if (bit == 0 || (modifiers & bit) != 0) {
            return DefaultHotkey;
        }
        modifiers |= bit;
    }
    const unsigned key = parts.back().empty() ? 0 : KeyOf(parts.back());
    if (key == 0 || (modifiers == 0 && !IsFunctionKey(key))) {
        return DefaultHotkey;
    }
    return Hotkey{true, modifiers, key};
}

} // namespace quarnel
