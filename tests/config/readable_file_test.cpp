// Which PuTTY paths the configuration window takes for a readable file.
#include "config/config_actions.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

namespace quarnel {
namespace {

TEST(ReadableFileTest, OnlyAnExistingFileCounts) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const auto folder =
        std::filesystem::path(temp) / ("quarnel-readable-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder / "sub.exe");
    const auto file = folder / "putty.exe";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const std::string base = folder.string();
    // Another reader of the file does not get in the way.
    HANDLE reader = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    const struct {
        std::string path;
        bool readable;
    } cases[] = {
        {base + "\\putty.exe", true}, {base + "\\PUTTY.EXE", true},
        {base + "\\sub.exe", false},  {base, false},
        {base + "\\nix.exe", false},  {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsReadableFile(c.path), c.readable) << c.path;
    }
    CloseHandle(reader);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace quarnel
