// The quick search: the sessions whose shown name or menu name hold every word the user
// typed, best matches first. Window-free; texts are Windows-1252.
#pragma once

#include "sessions/catalogue.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

struct SearchEntry {
    std::string shown; // the name as the menus show it
    std::string menu;  // the menu name; empty: none
};

// Made once when the search window opens, so that a keystroke only scans folded bytes.
//
// Matching: the query is split at blanks (space, tab) into words; a session matches when
// every word occurs in its shown name or in its menu name. Comparison folds A-Z and the
// umlauts Ä, Ö, Ü to lower case; every other byte compares as it is.
//
// Order: first the sessions whose shown name begins with the whole query (trimmed of
// blanks, inner blanks kept), then those with a word of the shown name beginning with it
// (a word begins at the start or after a byte that is neither a letter nor a digit),
// then the other matches. Only the shown name ranks: a match through the menu alone is
// among the others. Within each of the three, the recently started sessions come first
// in their recent order, then the rest in entry order. A query without words matches
// every session, so it lists the recent ones and then all others in entry order.
class SearchIndex {
  public:
    explicit SearchIndex(std::vector<SearchEntry> entries);

    // The indices of the matching entries in display order. recent: entry indices, most
    // recently started first; indices out of range and repeated ones are passed over.
    std::vector<size_t> Find(std::string_view query, const std::vector<size_t>& recent) const;

    const SearchEntry& entry(size_t i) const { return entries_[i]; }
    size_t size() const { return entries_.size(); }

  private:
    enum Rank : uint8_t { Begins, WordBegins, Elsewhere, NoMatch };
    std::string_view FoldedShown(size_t i) const;
    Rank RankOf(size_t i, std::string_view phrase, const std::vector<std::string>& words,
                const std::vector<uint8_t>& menuHasWord) const;

    std::vector<SearchEntry> entries_;
    // The folded shown names one after the other; entry i spans [shownStart_[i],
    // shownStart_[i + 1]). Many sessions share a menu, so menus are folded once each.
    std::string shownFolded_;
    std::vector<size_t> shownStart_;
    std::vector<std::string> menusFolded_; // distinct menus; 0 is the empty one
    std::vector<uint32_t> menuOf_;         // index into menusFolded_ per entry
};

// The search entries of the catalogue: entry i is allSessions[i], in catalogue order.
std::vector<SearchEntry> SearchEntriesOf(const SessionCatalogue& catalogue);

// The index in allSessions of each key name, in the order given; unknown names dropped.
std::vector<size_t> SessionIndices(const std::vector<std::string>& allSessions,
                                   const std::vector<std::string>& keyNames);

} // namespace quarnel
