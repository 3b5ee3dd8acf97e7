// Decisions of the configuration window that need no window. Texts are Windows-1252.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

// Where the file requester starts: the folder part of PuttyPfad (before its last
// backslash; empty lets the system choose) and the rest as the preset file name, which
// is left empty when it holds a character no file name can hold.
struct BrowsePreset {
    std::string folder;
    std::string fileName;
};
BrowsePreset SplitBrowsePreset(std::string_view puttyPath);

// What saving the menu combo's text does with the session's menu value and the entries.
enum class MenuSave {
    Delete,         // empty text: the assignment goes
    Store,          // stored; an entry of that text exists already
    StoreAndAppend, // stored and appended as a new entry
};
MenuSave DecideMenuSave(std::string_view text, const std::vector<std::string>& entries);

// Whether a text value (a setting, a cipher text) of this length can be read back whole:
// at most 254 characters.
bool ReadsBackWhole(std::string_view text);

} // namespace quarnel
