#include "e2e_fixture.h"

#include "app/settings.h"
#include "registry/registry.h"
#include "win/handles.h"
#include "win/text.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>

namespace quarnel::test {

namespace {

const char* const kGeometryValues[] = {"FensterpositionX", "FensterpositionY", "Fensterbreite",
                                       "Fensterhoehe"};

GUITHREADINFO ThreadInfo(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread, &info)) {
        throw DriverError("cannot read the input state of thread " + std::to_string(thread));
    }
    return info;
}

std::string Line(const char* name, const std::string& value) {
    std::string line = name;
    line += '=';
    line += value;
    return line;
}

} // namespace

App& E2eTest::Start(LaunchOptions options, bool waitForLoop) {
    app_.reset();
    app_ = std::make_unique<App>(std::move(options));
    WindowQuery query = TitleStartsWith(kMainTitlePrefix);
    query.visibleOnly = false;
    main_ = app_->WaitForWindow(query);
    if (waitForLoop) {
        // Start-up takes no message before the event loop, so the first message taken
        // means that start-up is over.
        main_.WaitUntilIdle();
    }
    return *app_;
}

std::string E2eTest::Stored(const std::string& valueName) {
    return RegistryRead(ProgramKey, valueName, ".");
}

Geometry E2eTest::StoredGeometry() {
    Geometry geometry;
    for (const char* name : kGeometryValues) {
        geometry.push_back(Line(name, Stored(name)));
    }
    return geometry;
}

void E2eTest::ForgetGeometry() {
    for (const char* name : kGeometryValues) {
        RegistryDeleteValue(ProgramKey, name, ".");
    }
}

std::vector<std::string> E2eTest::StoredValueNames() {
    // Past the registry layer, which reads values by name only.
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\SimonTatham\\PuTTY\\UlvasQuarnel", 0,
                      KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) {
        return {};
    }
    const UniqueKey key(raw);
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumValueW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.push_back(Narrow(std::wstring_view(name, length)));
    }
    std::sort(names.begin(), names.end());
    return names;
}

Geometry E2eTest::GeometryOf(const Window& main) {
    const RECT outer = main.WindowRect();
    const RECT client = main.ClientRect();
    return GeometryValues(outer.left, outer.top, client.right - client.left,
                          client.bottom - client.top + GetSystemMetrics(SM_CYMENU));
}

Geometry E2eTest::GeometryValues(int x, int y, int width, int height) {
    const int values[] = {x, y, width, height};
    Geometry geometry;
    for (size_t i = 0; i < std::size(values); ++i) {
        geometry.push_back(Line(kGeometryValues[i], std::to_string(values[i])));
    }
    return geometry;
}

Window E2eTest::Focus() const {
    return Window(ThreadInfo(app_->MainThreadId()).hwndFocus);
}

Window E2eTest::Active() const {
    return Window(ThreadInfo(app_->MainThreadId()).hwndActive);
}

void E2eTest::Activate(const Window& window) const {
    SetForegroundWindow(window.Handle());
    Await([&] { return Active() == window; }, window.Describe() + " to become active");
}

bool E2eTest::TrayIconShown(UINT id) const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = main_.Handle();
    data.uID = id;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

std::vector<std::string> E2eTest::AllWindows() const {
    std::vector<std::string> windows;
    for (const Window& window : app_->TopLevelWindows(false)) {
        wchar_t title[512] = {};
        InternalGetWindowText(window.Handle(), title, 512);
        std::string line = "\"";
        line += Narrow(title);
        line += "\" [";
        line += window.ClassName();
        line += ']';
        windows.push_back(line);
    }
    return windows;
}

std::vector<FakePuttyStart> E2eTest::Launched() const {
    main_.WaitUntilIdle();
    // ShellExecuteEx has made the process when the handler is over; once it has ended,
    // its record is written.
    Await(
        [] {
            const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
            PROCESSENTRY32W entry{};
            entry.dwSize = sizeof entry;
            for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
                 more = Process32NextW(snapshot.get(), &entry)) {
                if (_wcsicmp(entry.szExeFile, L"putty.exe") == 0) {
                    return false;
                }
            }
            return true;
        },
        "every stand-in putty.exe to end");
    return putty_.Read();
}

std::vector<std::string> E2eTest::LaunchedOptions() const {
    std::vector<std::string> launches;
    for (const FakePuttyStart& start : Launched()) {
        std::string line;
        for (size_t i = 1; i < start.arguments.size(); ++i) {
            if (i > 1) {
                line += ' ';
            }
            line += Narrow(start.arguments[i]);
        }
        launches.push_back(line);
    }
    std::sort(launches.begin(), launches.end());
    return launches;
}

void E2eTest::CloseProgram() {
    main_.Close();
    EXPECT_EQ(app_->WaitForExit(), 0u);
}

} // namespace quarnel::test
