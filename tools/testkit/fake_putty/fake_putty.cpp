// Stands in for putty.exe in the tests: records how it was started and ends at once.
// Each start appends one record to the file named by QUARNEL_FAKE_PUTTY_LOG, in UTF-8:
//
//   start
//   cmdline <the raw command line>
//   arg <argument 0, as CommandLineToArgvW splits the command line>
//   arg <argument 1> ...
//   cwd <the current directory>
//   pwfile <the first line of the file named after -pwfile, as bytes>  (when given)
//   end
//
// -pwfile FILE is read as PuTTY reads it: an ordinary file open, its first line. With
// QUARNEL_FAKE_PUTTY_SKIP_PWFILE set it is left unread, and QUARNEL_FAKE_PUTTY_STAY_MS
// keeps the process alive that long after it has logged.
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

// The bytes PuTTY would take as the password, in the log's UTF-8 like everything else.
std::wstring FromWindows1252(const std::string& bytes) {
    std::wstring wide(bytes.size(), L'\0');
    const int n = MultiByteToWideChar(1252, 0, bytes.data(), static_cast<int>(bytes.size()),
                                      wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(n > 0 ? n : 0));
    return wide;
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
    std::wstring passwordFile;
    int count2 = 0;
    if (wchar_t** argv = CommandLineToArgvW(commandLine.c_str(), &count2)) {
        for (int i = 1; i + 1 < count2; ++i) {
            if (std::wstring(argv[i]) == L"-pwfile") {
                passwordFile = argv[i + 1];
            }
        }
        LocalFree(argv);
    }
    if (!passwordFile.empty() &&
        GetEnvironmentVariableW(L"QUARNEL_FAKE_PUTTY_SKIP_PWFILE", nullptr, 0) == 0) {
        std::string line;
        if (FILE* file = _wfopen(passwordFile.c_str(), L"rb")) {
            for (int c; (c = fgetc(file)) != EOF && c != '\n';) {
                line += static_cast<char>(c);
            }
            fclose(file);
            record += Line("pwfile", FromWindows1252(line));
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
    wchar_t stay[16] = {};
    if (GetEnvironmentVariableW(L"QUARNEL_FAKE_PUTTY_STAY_MS", stay, 16) > 0) {
        Sleep(static_cast<DWORD>(_wtoi(stay)));
    }
    return ok && written == record.size() ? 0 : 4;
}
