#include "testkit/fake_putty_log.h"

#include "testkit/e2e_driver.h"
#include "testkit/quarnel_setup.h"
#include "win/handles.h"

#include <windows.h>

#include <atomic>

namespace quarnel::test {

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
    std::wstring text;
    wchar_t buffer[2048];
    DWORD got = 0;
    while (file.get() != INVALID_HANDLE_VALUE &&
           ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        text.append(buffer, got / sizeof(wchar_t));
    }
    std::vector<FakePuttyStart> records;
    for (size_t end; (end = text.find(L'\x1E')) != std::wstring::npos; text.erase(0, end + 1)) {
        std::vector<std::wstring> fields;
        for (size_t at = 0, next; (next = text.find(L'\x1F', at)) < end; at = next + 1) {
            fields.push_back(text.substr(at, next - at));
        }
        FakePuttyStart& start = records.emplace_back();
        start.currentDirectory = fields.at(0);
        if (!fields.at(1).empty()) {
            start.passwordFile = fields[1][0] == L'!'
                                     ? "<unreadable>"
                                     : std::string(fields[1].begin() + 1, fields[1].end());
        }
        start.arguments.assign(fields.begin() + 2, fields.end());
    }
    return records;
}

std::vector<FakePuttyStart> FakePuttyLog::WaitFor(size_t count) const {
    std::vector<FakePuttyStart> records;
    Await([&] { return (records = Read()).size() >= count; }, "the stand-in PuTTY's start");
    return records;
}

} // namespace quarnel::test
