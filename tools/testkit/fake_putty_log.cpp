#include "testkit/fake_putty_log.h"

#include "registry/value_text.h"
#include "testkit/test_support.h"
#include "win/handles.h"

#include <windows.h>

#include <atomic>
#include <sstream>
#include <thread>

namespace quarnel::test {

namespace {

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

std::wstring Unescape(const std::string& value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            out += value[i];
        }
    }
    return FromUtf8(out);
}

} // namespace

std::vector<FakePuttyStart> ParseFakePuttyLog(const std::string& utf8) {
    std::vector<FakePuttyStart> records;
    FakePuttyStart current;
    bool open = false;
    std::istringstream lines(utf8);
    std::string line;
    while (std::getline(lines, line)) {
        if (lines.eof()) {
            break; // no line feed yet: still being written
        }
        const size_t blank = line.find(' ');
        const std::string key = line.substr(0, blank);
        const std::string value = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (key == "start") {
            current = {};
            open = true;
        } else if (open && key == "cmdline") {
            current.commandLine = Unescape(value);
        } else if (open && key == "arg") {
            current.arguments.push_back(Unescape(value));
        } else if (open && key == "cwd") {
            current.currentDirectory = Unescape(value);
        } else if (open && key == "pwbytes") {
            const std::vector<uint8_t> bytes = ParseHexBytes(value);
            current.passwordFile = std::string(bytes.begin(), bytes.end());
        } else if (open && key == "pwfile-error") {
            current.passwordFile = "<unreadable>";
        } else if (open && key == "end") {
            records.push_back(current);
            open = false;
        }
    }
    return records;
}

std::wstring FakePuttyPath() {
    return BuildDir() + L"\\tests\\fake_putty\\putty.exe";
}

std::wstring FakeOldPuttyPath() {
    return BuildDir() + L"\\tests\\fake_putty_old\\putty.exe";
}

FakePuttyLog::FakePuttyLog() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"quarnel-fake-putty-" + std::to_wstring(GetCurrentProcessId()) +
            L"-" + std::to_wstring(counter++) + L".log";
    DeleteFileW(path_.c_str());
    SetEnvironmentVariableW(L"QUARNEL_FAKE_PUTTY_LOG", path_.c_str());
}

FakePuttyLog::~FakePuttyLog() {
    SetEnvironmentVariableW(L"QUARNEL_FAKE_PUTTY_LOG", nullptr);
    DeleteFileW(path_.c_str());
}

std::vector<FakePuttyStart> FakePuttyLog::Read() const {
    const UniqueHandle file(CreateFileW(path_.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        text.append(buffer, got);
    }
    return ParseFakePuttyLog(text);
}

std::vector<FakePuttyStart> FakePuttyLog::WaitFor(size_t count,
                                                  std::chrono::milliseconds deadline) const {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        std::vector<FakePuttyStart> records = Read();
        if (records.size() >= count || std::chrono::steady_clock::now() >= end) {
            return records;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace quarnel::test
