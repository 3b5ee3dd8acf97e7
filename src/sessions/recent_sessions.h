// The sessions started last, kept in the program key so that the quick search can offer
// them first. Window-free.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

// REG_SZ in the program key: the key names, most recent first, separated by a
// backslash, which no key name can hold.
inline const std::string RecentSessionsValueName = "ZuletztGestartet";
inline constexpr size_t MaxRecentSessions = 10;
// A longer text value reads back as the empty text.
inline constexpr size_t MaxRecentSessionsText = 254;

// The stored list as far as it still names sessions: key names that are not in
// knownKeys (compared byte for byte) are dropped, so are repeats (the first counts) and
// empty parts; at most MaxRecentSessions.
std::vector<std::string> ParseRecentSessions(std::string_view stored,
                                             const std::vector<std::string>& knownKeys);

// The list after starting key: key at the front (moved there when already listed), at
// most MaxRecentSessions. An empty key or one holding a backslash names no session and
// leaves the list as it is.
std::vector<std::string> PushRecentSession(std::vector<std::string> list, const std::string& key);

// The text to store: the names joined by backslashes, at most MaxRecentSessionsText
// characters. Names are taken from the most recent on until the next one would not fit;
// a name too long to fit even alone, an empty one and one holding a backslash are left
// out, as they could not be read back.
std::string FormatRecentSessions(const std::vector<std::string>& list);

} // namespace quarnel
