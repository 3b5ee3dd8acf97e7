#include "sessions/recent_sessions.h"

#include <algorithm>
#include <unordered_set>

namespace quarnel {

namespace {

constexpr char kSeparator = '\\';

bool CanBeKeyName(std::string_view name) {
    return !name.empty() && name.find(kSeparator) == std::string_view::npos;
}

} // namespace

std::vector<std::string> ParseRecentSessions(std::string_view stored,
                                             const std::vector<std::string>& knownKeys) {
    const std::unordered_set<std::string_view> known(knownKeys.begin(), knownKeys.end());
    std::vector<std::string> list;
    while (list.size() < MaxRecentSessions && !stored.empty()) {
        const size_t end = std::min(stored.find(kSeparator), stored.size());
        const std::string_view name = stored.substr(0, end);
        stored.remove_prefix(std::min(end + 1, stored.size()));
        if (!name.empty() && known.contains(name) &&
            std::find(list.begin(), list.end(), name) == list.end()) {
            list.emplace_back(name);
        }
    }
    return list;
}

std::vector<std::string> PushRecentSession(std::vector<std::string> list, const std::string& key) {
    if (!CanBeKeyName(key)) {
        return list;
    }
    std::erase(list, key);
    list.insert(list.begin(), key);
    if (list.size() > MaxRecentSessions) {
        list.resize(MaxRecentSessions);
    }
    return list;
}

std::string FormatRecentSessions(const std::vector<std::string>& list) {
    std::string text;
    size_t taken = 0;
    for (const std::string& name : list) {
        if (taken == MaxRecentSessions) {
            break;
        }
        if (!CanBeKeyName(name) || name.size() > MaxRecentSessionsText) {
            continue;
        }
        const size_t grown = text.size() + (text.empty() ? 0 : 1) + name.size();
        if (grown > MaxRecentSessionsText) {
            break;
        }
        if (!text.empty()) {
            text += kSeparator;
        }
        text += name;
        ++taken;
    }
    return text;
}

} // namespace quarnel
