// Stands in for putty.exe in the tests: records how it was started and ends at once.
// Each start appends one record to the file named by QUARNEL_FAKE_PUTTY_LOG, in UTF-8:
//
//   start
//   cmdline <the raw command line>
//   arg <argument 0, as CommandLineToArgvW splits the command line>
//   arg <argument 1> ...
//   cwd <the current directory>
//   end
//
// In each value "\" is written "\\", a line feed "\n" and a carriage return "\r".
// The record goes out in one append-only write, so a reader sees all of it or none.
#include "win/handles.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::string Line(const char* key, const std::wstring& value) {
    std::string line = key;
    line += ' ';
    for (const char c : Utf8(value)) {
        if (c == '\\') {
            line += "\\\\";
        } else if (c == '\n') {
            line += "\\n";
        } else if (c == '\r') {
            line += "\\r";
        } else {
            line += c;
        }
    }
    line += '\n';
    return line;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t logPath[MAX_PATH];
    const DWORD pathLength = GetEnvironmentVariableW(L"QUARNEL_FAKE_PUTTY_LOG", logPath, MAX_PATH);
    if (pathLength == 0 || pathLength >= MAX_PATH) {
        return 2;
    }

    const std::wstring commandLine = GetCommandLineW();
    std::string record = "start\n" + Line("cmdline", commandLine);
    int count = 0;
    if (wchar_t** argv = CommandLineToArgvW(commandLine.c_str(), &count)) {
        for (int i = 0; i < count; ++i) {
            record += Line("arg", argv[i]);
        }
        LocalFree(argv);
    }
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    record += Line("cwd", folder);
    record += "end\n";

    const quarnel::UniqueHandle log(CreateFileW(logPath, FILE_APPEND_DATA,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (log.get() == INVALID_HANDLE_VALUE) {
        return 3;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(log.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    return ok && written == record.size() ? 0 : 4;
}
