// Stands in for putty.exe in the tests: records how it was started and ends at once.
// Each start appends one record to the file named by QUARNEL_FAKE_PUTTY_LOG, in UTF-8:
//
//   start
//   cmdline <the raw command line>
//   arg <argument 0, as CommandLineToArgvW splits the command line>
//   arg <argument 1> ...
//   cwd <the current directory>
//   pwbytes <the first line of the file after -pwfile with its line feed, in hex>  (when given)
//   end
//
// -pwfile FILE is read as PuTTY reads it: an ordinary file open, its first line. With
// QUARNEL_FAKE_PUTTY_SKIP_PWFILE set it is left unread, QUARNEL_FAKE_PUTTY_PWFILE_DELAY_MS
// opens it that late, as a slow PuTTY does, and QUARNEL_FAKE_PUTTY_STAY_MS keeps the
// process alive that long after it has logged.
//
// In each value "\" is written "\\", a line feed "\n" and a carriage return "\r".
// The record goes out in one append-only write, so a reader sees all of it or none.
#include "win/handles.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
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

std::string Escaped(const std::string& bytes) {
    std::string line;
    for (const char c : bytes) {
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
    return line;
}

std::string Line(const char* key, const std::wstring& value) {
    return std::string(key) + ' ' + Escaped(Utf8(value)) + '\n';
}

std::string Hex(const std::string& bytes) {
    std::string hex;
    for (const char c : bytes) {
        hex += "0123456789ABCDEF"[static_cast<unsigned char>(c) >> 4];
        hex += "0123456789ABCDEF"[c & 15];
    }
    return hex;
}

DWORD Milliseconds(const wchar_t* variable) {
    wchar_t value[16] = {};
    return GetEnvironmentVariableW(variable, value, 16) > 0 ? _wtoi(value) : 0;
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
    std::wstring passwordFile;
    int count = 0;
    if (wchar_t** argv = CommandLineToArgvW(commandLine.c_str(), &count)) {
        for (int i = 0; i < count; ++i) {
            record += Line("arg", argv[i]);
            if (i > 0 && i + 1 < count && std::wstring(argv[i]) == L"-pwfile") {
                passwordFile = argv[i + 1];
            }
        }
        LocalFree(argv);
    }
    if (!passwordFile.empty() &&
        GetEnvironmentVariableW(L"QUARNEL_FAKE_PUTTY_SKIP_PWFILE", nullptr, 0) == 0) {
        Sleep(Milliseconds(L"QUARNEL_FAKE_PUTTY_PWFILE_DELAY_MS"));
        std::string line;
        if (FILE* file = _wfopen(passwordFile.c_str(), L"rb")) {
            for (int c = 0; c != '\n' && (c = fgetc(file)) != EOF;) {
                line += static_cast<char>(c);
            }
            fclose(file);
            record += "pwbytes " + Hex(line) + "\n";
        } else {
            record += "pwfile-error\n";
        }
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
    Sleep(Milliseconds(L"QUARNEL_FAKE_PUTTY_STAY_MS"));
    return ok && written == record.size() ? 0 : 4;
}
