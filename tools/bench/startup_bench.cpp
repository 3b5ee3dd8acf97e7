// Start-up benchmark: how long quarnel.exe takes from process creation until it is idle
// with its main window shown, for 0, 1,000 and 10,000 saved sessions spread over 50
// menus, next to a trivial program that only opens one window. Runs under Wine in the
// build tree's private prefix (tools/bench.sh); prints medians, ratios, the peak working
// set and the registry calls per session that start-up makes; then, in a running copy, how
// long the configuration window and the quick search take to open.
#include "config/settings.h"
#include "registry/registry.h"
#include "sessions/catalogue.h"
#include "sessions/session_menu.h"
#include "sessions/session_watcher.h"
#include "win/handles.h"
#include "win/text.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace quarnel;

namespace {

constexpr int kRuns = 5;
constexpr int kMenus = 50;

std::wstring Sibling(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    dir = dir.substr(0, dir.find_last_of(L'\\'));
    return dir + L"\\" + name;
}

void SeedSessions(int count) {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\SimonTatham\\PuTTY\\Sessions");
    RegistryCreateKey(SessionsKey, ".");
    for (int i = 0; i < count; ++i) {
        const std::string key = SessionsKey + "server%20" + std::to_string(i);
        RegistryCreateKey(key, ".");
        RegistryWrite(key, "HostName", "host" + std::to_string(i), kRegSz, ".");
        if (i % 5 != 0) { // a fifth stays without a menu
            RegistryWrite(key, MenuValueName, "Menu " + std::to_string(i % kMenus), kRegSz, ".");
        }
    }
}

// A shown top-level window of the process whose title begins so; null when none.
HWND WindowTitled(DWORD pid, const std::wstring& prefix) {
    struct Search {
        DWORD pid;
        const std::wstring* prefix;
        HWND found;
    } search{pid, &prefix, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            wchar_t title[128] = {};
            GetWindowTextW(hwnd, title, 128);
            if (owner == s->pid && IsWindowVisible(hwnd) && GetWindow(hwnd, GW_OWNER) == nullptr &&
                std::wstring(title).rfind(*s->prefix, 0) == 0) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct Sample {
    double milliseconds;
    SIZE_T peakWorkingSet;
};

Sample StartOnce(const std::wstring& exe) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi)) {
        std::fprintf(stderr, "cannot start %ls\n", exe.c_str());
        std::exit(1);
    }
    WaitForInputIdle(pi.hProcess, 60000);
    const auto deadline = start + std::chrono::seconds(60);
    while (WindowTitled(pi.dwProcessId, L"") == nullptr &&
           std::chrono::steady_clock::now() < deadline) {
        WaitForInputIdle(pi.hProcess, 1000);
        Sleep(1); // polling for a window that the other process maps
    }
    WaitForInputIdle(pi.hProcess, 60000);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(pi.hProcess, &counters, sizeof counters);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return {ms, counters.PeakWorkingSetSize};
}

Sample Median(const std::wstring& exe) {
    StartOnce(exe); // warms the file cache and Wine's own start-up
    std::vector<Sample> samples;
    for (int i = 0; i < kRuns; ++i) {
        samples.push_back(StartOnce(exe));
    }
    std::sort(samples.begin(), samples.end(),
              [](const Sample& a, const Sample& b) { return a.milliseconds < b.milliseconds; });
    return samples[samples.size() / 2];
}

// How long a running quarnel.exe takes from the command (a menu item, or the quick
// search's hotkey event) until the window it opens is shown and the program idle again.
struct WindowTimes {
    double config;
    double quickSearch;
};
WindowTimes TimeWindows(const std::wstring& exe) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi)) {
        std::exit(1);
    }
    HWND main = nullptr;
    for (int i = 0; i < 60000 && main == nullptr; ++i) {
        WaitForInputIdle(pi.hProcess, 1000);
        main = WindowTitled(pi.dwProcessId, L"Quarnel V.");
        Sleep(1);
    }
    // The window shows before its menus are built: wait until the program takes input.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &ignored);
    const auto timeTo = [&](WPARAM command, const wchar_t* title) {
        const auto start = std::chrono::steady_clock::now();
        PostMessageW(main, WM_COMMAND, command, 0);
        while (WindowTitled(pi.dwProcessId, title) == nullptr &&
               std::chrono::steady_clock::now() - start < std::chrono::seconds(60)) {
            Sleep(0);
        }
        // Answered only once the program has handled what came before it.
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored);
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    };
    WindowTimes times{};
    times.config = timeTo(910, L"Quarnel Konfiguration");
    times.quickSearch = timeTo(112, L"Quarnel Schnellsuche");
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return times;
}

// The registry part of start-up, run here with the same code, counted by the layer.
double RegistryOperationsPerSession(int sessions) {
    const uint64_t before = RegistryPlatformCallCount();
    LoadSettings("C:\\");
    SessionCatalogue catalogue = LoadSessionCatalogue();
    LayoutSessionMenu(catalogue);
    RegistryKeyExists(ProgramKey, ".");
    const double operations = static_cast<double>(RegistryPlatformCallCount() - before);
    return sessions == 0 ? operations : operations / sessions;
}

// How long one changed session takes, from its write until the watcher hands over the new
// catalogue, and the registry calls that update makes.
void TimeWatchedChange(int sessions) {
    constexpr UINT kUpdated = WM_APP;
    const UniqueWindow window(CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE,
                                              nullptr, nullptr, nullptr));
    SessionWatcher watcher(LoadSessionCatalogue(), window.get(), kUpdated);
    const auto changeAndWait = [&](const std::string& menu) {
        const auto start = std::chrono::steady_clock::now();
        RegistryWrite(SessionsKey + "server%201", MenuValueName, menu, kRegSz, ".");
        const uint64_t before = RegistryPlatformCallCount();
        for (MSG msg; GetMessageW(&msg, nullptr, 0, 0) > 0;) {
            const std::optional<SessionCatalogue> update =
                msg.message == kUpdated ? watcher.TakeUpdate() : std::nullopt;
            if (update && update->menuOfSession.at("server%201") == menu) {
                break;
            }
        }
        std::printf(
            "%-10d one session changed: handed over after %.1f ms, %llu registry calls\n", sessions,
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count(),
            static_cast<unsigned long long>(RegistryPlatformCallCount() - before));
    };
    changeAndWait("Warm-up"); // also waits out the watcher's first look
    changeAndWait("Changed");
}

} // namespace

int main() {
    const std::wstring quarnel = Sibling(L"..\\quarnel.exe");
    const std::wstring trivial = Sibling(L"trivial_window.exe");
    RegistryCreateKey(ProgramKey, "."); // no first-run message box
    RegistryWrite(ProgramKey, "Startminimized", "0", kRegSz, ".");

    std::printf("%-10s %12s %12s %7s %14s %16s %12s %12s\n", "sessions", "quarnel ms", "trivial ms",
                "ratio", "peak WS (KiB)", "reg calls/sess", "config ms", "search ms");
    for (int sessions : {0, 1000, 10000, 65600}) {
        SeedSessions(sessions);
        const Sample q = Median(quarnel);
        const Sample t = Median(trivial);
        const WindowTimes w = TimeWindows(quarnel);
        std::printf("%-10d %12.1f %12.1f %7.2f %14zu %16.2f %12.1f %12.1f\n", sessions,
                    q.milliseconds, t.milliseconds, q.milliseconds / t.milliseconds,
                    q.peakWorkingSet / 1024, RegistryOperationsPerSession(sessions), w.config,
                    w.quickSearch);
        std::fflush(stdout);
    }
    SeedSessions(10000);
    TimeWatchedChange(10000);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\SimonTatham\\PuTTY\\Sessions");
    return 0;
}
