// Quick search benchmark: how long building the search index and answering one
// keystroke take for 10,000 and 100,000 sessions over 50 menus, for a few typical
// queries. Prints medians in milliseconds; built natively (tests/native, search_bench).
#include "sessions/quick_search.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace quarnel;

namespace {

constexpr int kRuns = 31;
constexpr int kMenus = 50;

std::vector<SearchEntry> Sessions(int count) {
    static const char* const roles[] = {"web",    "db",   "mail", "proxy",  "router",
                                        "backup", "Büro", "ldap", "gitlab", "Überwachung"};
    static const char* const sites[] = {"München", "berlin", "hamburg", "Köln", "wien"};
    std::vector<SearchEntry> entries;
    for (int i = 0; i < count; ++i) {
        std::string shown =
            std::string(roles[i % 10]) + "-" + std::to_string(i) + " " + sites[(i / 10) % 5];
        std::string menu = i % 5 == 0 ? "" : "Kunde " + std::to_string(i % kMenus);
        entries.push_back({std::move(shown), std::move(menu)});
    }
    return entries;
}

template <typename F> double MedianMs(F&& f) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        f();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    return times[kRuns / 2];
}

} // namespace

int main() {
    const char* const queries[] = {"", "w", "we", "web", "web 12", "mün", "kunde 4", "xyz"};
    const std::vector<size_t> recent = {7, 70, 700, 3, 30, 300, 1, 10, 100, 5};
    for (const int count : {10000, 100000}) {
        const std::vector<SearchEntry> entries = Sessions(count);
        const double build = MedianMs([&] { SearchIndex index(entries); });
        std::printf("%d sessions: index built in %.2f ms\n", count, build);
        const SearchIndex index(entries);
        for (const char* query : queries) {
            size_t rows = 0;
            const double find = MedianMs([&] { rows = index.Find(query, recent).size(); });
            std::printf("  %-10s %7zu rows  %6.3f ms\n", ("\"" + std::string(query) + "\"").c_str(),
                        rows, find);
        }
    }
    return 0;
}
