// Which PuTTY a file is, as far as the password hand-over cares.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quarnel {

struct FileVersion {
    uint16_t major = 0, minor = 0, build = 0, revision = 0;
};

// The file version from the program's version resource; nothing without one.
std::optional<FileVersion> ReadFileVersion(const std::wstring& path);

} // namespace quarnel
