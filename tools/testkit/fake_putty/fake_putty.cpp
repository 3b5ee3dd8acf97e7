// Stands in for putty.exe in the tests: records how it was started and ends at once.
// Each start appends one record to the file named by QUARNEL_FAKE_PUTTY_LOG, in UTF-16:
// the current directory, what it read after -pwfile, then the arguments as CommandLineToArgvW
// splits them, each field ended by U+001F and the record by U+001E, in one append-only write, so a
// reader sees all of it or none.
//
// -pwfile FILE is read as PuTTY reads it: an ordinary file open, its first line, recorded
// with its line feed byte for byte (each byte one UTF-16 unit) after "+", or "!" when the
// file cannot be opened. QUARNEL_FAKE_PUTTY_PWFILE_DELAY_MS opens it that late, as a slow
// PuTTY does; with QUARNEL_FAKE_PUTTY_SKIP_PWFILE it is left unread.
#include "win/handles.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t logPath[MAX_PATH] = {}, delay[16] = {}, folder[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"QUARNEL_FAKE_PUTTY_LOG", logPath, MAX_PATH) == 0) {
        return 2;
    }
    GetCurrentDirectoryW(MAX_PATH, folder);
    std::wstring arguments, passwordFile;
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; i < count; ++i) {
        arguments += std::wstring(argv[i]) + L'\x1F';
        if (i + 1 < count && std::wstring(argv[i]) == L"-pwfile") {
            passwordFile = argv[i + 1];
        }
    }
    LocalFree(argv);
    std::wstring read;
    if (!passwordFile.empty() &&
        GetEnvironmentVariableW(L"QUARNEL_FAKE_PUTTY_SKIP_PWFILE", nullptr, 0) == 0) {
        GetEnvironmentVariableW(L"QUARNEL_FAKE_PUTTY_PWFILE_DELAY_MS", delay, 16);
        Sleep(static_cast<DWORD>(_wtoi(delay)));
        read = L"!";
        if (FILE* file = _wfopen(passwordFile.c_str(), L"rb")) {
            read = L"+";
            for (int c = 0; c != '\n' && (c = fgetc(file)) != EOF;) {
                read += static_cast<wchar_t>(c);
            }
            fclose(file);
        }
    }
    const std::wstring record =
        std::wstring(folder) + L'\x1F' + read + L'\x1F' + arguments + L'\x1E';
    const quarnel::UniqueHandle log(CreateFileW(logPath, FILE_APPEND_DATA,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    const DWORD bytes = static_cast<DWORD>(record.size() * sizeof(wchar_t));
    return WriteFile(log.get(), record.data(), bytes, &written, nullptr) && written == bytes ? 0
                                                                                             : 3;
}
