// Start-up benchmark: how long quarnel.exe takes from process creation until it is idle
// with its main window shown, for 0, 1,000, 10,000 and 65,600 saved sessions spread over
// 50 menus, next to a trivial program that only opens one window; then, in freshly
// started copies, how long the configuration window and the quick search take to open.
// Runs under Wine in the build tree's private prefix (tools/bench.sh); prints the median
// and the range of every time, the peak working set and the registry calls per session
// that start-up makes, and the wineserver's round trip that most of these times are made
// of, so that a slow machine shows as such.
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

constexpr int kStartRuns = 7;  // start-ups of each program, after one to warm up
constexpr int kWindowRuns = 5; // copies started to open the windows in
constexpr int kMenus = 50;
constexpr wchar_t kPuttyKey[] = L"Software\\SimonTatham\\PuTTY";
constexpr wchar_t kSessionsKey[] = L"Software\\SimonTatham\\PuTTY\\Sessions";

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The median and the range of a figure's samples.
struct Spread {
    double median = 0;
    double min = 0;
    double max = 0;
};

Spread SpreadOf(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples.front(), samples.back()};
}

void PrintSpread(const char* figure, const Spread& s, const char* unit) {
    std::printf("  %-22s %10.1f %-3s (%.1f - %.1f)\n", figure, s.median, unit, s.min, s.max);
}

std::wstring Sibling(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    dir = dir.substr(0, dir.find_last_of(L'\\'));
    return dir + L"\\" + name;
}

UniqueKey CreateVolatileKey(HKEY parent, const std::wstring& name) {
    HKEY key = nullptr;
    RegCreateKeyExW(parent, name.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
    return UniqueKey(key);
}

void SetText(HKEY key, const wchar_t* valueName, const std::string& text) {
    const std::wstring wide = Widen(text);
    RegSetValueExW(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

// The sessions are volatile keys: the wineserver writes the whole registry to the
// prefix's user.reg some 30 s after a change, and while it writes tens of thousands of
// sessions it answers nobody, which landed at random in the timings. Reading a
// volatile key costs the same as reading any other.
void SeedSessions(int count) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSessionsKey);
    HKEY putty = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kPuttyKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &putty,
                    nullptr);
    const UniqueKey puttyOwner(putty);
    const UniqueKey sessions = CreateVolatileKey(putty, L"Sessions");
    const std::wstring menuValue = Widen(MenuValueName);
    for (int i = 0; i < count; ++i) {
        const UniqueKey session =
            CreateVolatileKey(sessions.get(), L"server%20" + std::to_wstring(i));
        SetText(session.get(), L"HostName", "host" + std::to_string(i));
        if (i % 5 != 0) { // a fifth stays without a menu
            SetText(session.get(), menuValue.c_str(), "Menu " + std::to_string(i % kMenus));
        }
    }
}

// How long one call to the wineserver takes just now: what nearly every figure below is
// made of, and what other load on the machine stretches.
Spread ServerRoundTrip() {
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key);
    const UniqueKey owner(key);
    std::vector<double> samples;
    for (int batch = 0; batch < 9; ++batch) {
        constexpr int kCalls = 2000;
        const auto start = Clock::now();
        for (int i = 0; i < kCalls; ++i) {
            DWORD size = 0;
            RegQueryValueExW(key, L"none", nullptr, nullptr, nullptr, &size);
        }
        samples.push_back(MillisecondsSince(start) * 1000 / kCalls);
    }
    return SpreadOf(samples);
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

// A started program, ended when it goes.
class Started {
  public:
    explicit Started(const std::wstring& exe) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring commandLine = L"\"" + exe + L"\"";
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &si, &pi_)) {
            std::fprintf(stderr, "cannot start %ls\n", exe.c_str());
            std::exit(1);
        }
    }
    ~Started() {
        TerminateProcess(pi_.hProcess, 0);
        WaitForSingleObject(pi_.hProcess, 10000);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    // The first shown window whose title begins so, once the program is idle.
    HWND WaitForWindow(const std::wstring& title) const {
        HWND window = nullptr;
        const auto deadline = Clock::now() + std::chrono::seconds(120);
        while ((window = WindowTitled(pi_.dwProcessId, title)) == nullptr &&
               Clock::now() < deadline) {
            WaitForInputIdle(pi_.hProcess, 1000);
            Sleep(1); // polling for a window that the other process maps
        }
        WaitForInputIdle(pi_.hProcess, 60000);
        return window;
    }
    SIZE_T PeakWorkingSet() const {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(pi_.hProcess, &counters, sizeof counters);
        return counters.PeakWorkingSetSize;
    }

  private:
    PROCESS_INFORMATION pi_{};
};

// From process creation until the program is idle with a window shown.
double StartOnce(const std::wstring& exe, SIZE_T* peakWorkingSet) {
    const auto start = Clock::now();
    const Started program(exe);
    program.WaitForWindow(L"");
    const double ms = MillisecondsSince(start);
    if (peakWorkingSet != nullptr) {
        *peakWorkingSet = program.PeakWorkingSet();
    }
    return ms;
}

// How long a freshly started quarnel.exe takes from a command (a menu item, or the
// quick search's hotkey event) until the window it opens is shown and the program
// answers again. The command is sent, not posted: the call returns once the program
// has handled it, and the waiting costs the program nothing.
struct WindowTimes {
    double config;
    double quickSearch;
};
WindowTimes TimeWindows(const std::wstring& exe) {
    const Started program(exe);
    const HWND main = program.WaitForWindow(L"Quarnel V.");
    // The window shows before its menus are built: wait until the program takes input.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &ignored);
    const auto timeTo = [&](WPARAM command, const wchar_t* title) {
        const auto start = Clock::now();
        SendMessageTimeoutW(main, WM_COMMAND, command, 0, SMTO_NORMAL, 60000, &ignored);
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored);
        const double ms = MillisecondsSince(start);
        if (program.WaitForWindow(title) == nullptr) {
            std::fprintf(stderr, "no window %ls\n", title);
            std::exit(1);
        }
        return ms;
    };
    WindowTimes times{};
    times.config = timeTo(910, L"Quarnel Konfiguration");
    times.quickSearch = timeTo(112, L"Quarnel Schnellsuche");
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

    std::printf("median (min - max); start-ups %d each after one more, windows in %d copies\n",
                kStartRuns, kWindowRuns);
    for (int sessions : {0, 1000, 10000, 65600}) {
        SeedSessions(sessions);
        std::printf("%d sessions\n", sessions);
        PrintSpread("wineserver round trip", ServerRoundTrip(), "us");

        StartOnce(quarnel, nullptr); // warms the file cache and Wine's own start-up
        StartOnce(trivial, nullptr);
        std::vector<double> quarnelMs, trivialMs, ratios, configMs, searchMs;
        std::vector<SIZE_T> peaks;
        for (int i = 0; i < kStartRuns; ++i) { // alternating, so that both meet the same load
            SIZE_T peak = 0;
            quarnelMs.push_back(StartOnce(quarnel, &peak));
            trivialMs.push_back(StartOnce(trivial, nullptr));
            ratios.push_back(quarnelMs.back() / trivialMs.back());
            peaks.push_back(peak);
        }
        for (int i = 0; i < kWindowRuns; ++i) {
            const WindowTimes w = TimeWindows(quarnel);
            configMs.push_back(w.config);
            searchMs.push_back(w.quickSearch);
        }
        std::sort(peaks.begin(), peaks.end());
        PrintSpread("start-up", SpreadOf(quarnelMs), "ms");
        PrintSpread("trivial window", SpreadOf(trivialMs), "ms");
        PrintSpread("ratio", SpreadOf(ratios), "");
        std::printf("  %-22s %10zu KiB\n", "peak working set", peaks[peaks.size() / 2] / 1024);
        std::printf("  %-22s %10.2f\n", sessions == 0 ? "registry calls" : "registry calls/session",
                    RegistryOperationsPerSession(sessions));
        PrintSpread("configuration window", SpreadOf(configMs), "ms");
        PrintSpread("quick search", SpreadOf(searchMs), "ms");
        std::fflush(stdout);
    }
    SeedSessions(10000);
    TimeWatchedChange(10000);
    RegDeleteTreeW(HKEY_CURRENT_USER, kSessionsKey);
    return 0;
}
