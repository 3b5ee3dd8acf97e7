#include "config/config_rules.h"

#include <algorithm>

namespace quarnel {

namespace {

bool FileNameCanHold(unsigned char c) {
    return c >= 32 &&
           std::string_view("\"\\/:*?<>|").find(static_cast<char>(c)) == std::string_view::npos;
}

} // namespace

BrowsePreset SplitBrowsePreset(std::string_view puttyPath) {
    BrowsePreset preset;
    const size_t slash = puttyPath.rfind('\\');
    std::string_view name = puttyPath;
    if (slash != std::string_view::npos) {
        preset.folder = puttyPath.substr(0, slash);
        name = puttyPath.substr(slash + 1);
    }
    if (std::all_of(name.begin(), name.end(),
                    [](char c) { return FileNameCanHold(static_cast<unsigned char>(c)); })) {
        preset.fileName = name;
    }
    return preset;
}

MenuSave DecideMenuSave(std::string_view text, const std::vector<std::string>& entries) {
    if (text.empty()) {
        return MenuSave::Delete;
    }
    return std::find(entries.begin(), entries.end(), text) == entries.end()
               ? MenuSave::StoreAndAppend
               : MenuSave::Store;
}

bool ReadsBackWhole(std::string_view text) {
    return text.size() <= 254;
}

} // namespace quarnel
