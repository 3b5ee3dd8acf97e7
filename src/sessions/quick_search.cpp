#include "sessions/quick_search.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace quarnel {

namespace {

constexpr std::array<char, 256> kFold = [] {
    std::array<char, 256> fold{};
    for (int b = 0; b < 256; ++b) {
        fold[b] = static_cast<char>(b);
    }
    for (int b = 'A'; b <= 'Z'; ++b) {
        fold[b] = static_cast<char>(b - 'A' + 'a');
    }
    fold[0xC4] = '\xE4'; // Ä
    fold[0xD6] = '\xF6'; // Ö
    fold[0xDC] = '\xFC'; // Ü
    return fold;
}();

// Letters and digits of Windows-1252: a word of a name begins after any other byte.
constexpr std::array<bool, 256> kWordByte = [] {
    std::array<bool, 256> word{};
    for (int b = 0; b < 256; ++b) {
        word[b] = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
                  (b >= 0xC0 && b != 0xD7 && b != 0xF7);
    }
    for (int b : {0x83, 0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E, 0x9F, 0xAA, 0xB5, 0xBA}) {
        word[b] = true; // ƒ Š Œ Ž š œ ž Ÿ ª µ º
    }
    return word;
}();

std::string Folded(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        c = kFold[static_cast<unsigned char>(c)];
    }
    return folded;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && !IsBlank(text[end])) {
            ++end;
        }
        words.emplace_back(text.substr(i, end - i));
        i = end;
    }
    return words;
}

} // namespace

SearchIndex::SearchIndex(std::vector<SearchEntry> entries) : entries_(std::move(entries)) {
    shownStart_.reserve(entries_.size() + 1);
    menuOf_.reserve(entries_.size());
    menusFolded_.emplace_back();
    std::unordered_map<std::string, uint32_t> menuIds{{"", 0}};
    for (const SearchEntry& e : entries_) {
        shownStart_.push_back(shownFolded_.size());
        shownFolded_ += Folded(e.shown);
        std::string menu = Folded(e.menu);
        const auto [it, added] =
            menuIds.try_emplace(menu, static_cast<uint32_t>(menusFolded_.size()));
        if (added) {
            menusFolded_.push_back(std::move(menu));
        }
        menuOf_.push_back(it->second);
    }
    shownStart_.push_back(shownFolded_.size());
}

std::string_view SearchIndex::FoldedShown(size_t i) const {
    return std::string_view(shownFolded_)
        .substr(shownStart_[i], shownStart_[i + 1] - shownStart_[i]);
}

SearchIndex::Rank SearchIndex::RankOf(size_t i, std::string_view phrase,
                                      const std::vector<std::string>& words,
                                      const std::vector<uint8_t>& menuHasWord) const {
    const std::string_view shown = FoldedShown(i);
    const uint8_t* menuHas = menuHasWord.data() + size_t{menuOf_[i]} * words.size();
    for (size_t w = 0; w < words.size(); ++w) {
        if (!menuHas[w] && shown.find(words[w]) == std::string_view::npos) {
            return NoMatch;
        }
    }
    if (shown.starts_with(phrase)) {
        return Begins;
    }
    for (size_t at = shown.find(phrase, 1); at != std::string_view::npos;
         at = shown.find(phrase, at + 1)) {
        if (!kWordByte[static_cast<unsigned char>(shown[at - 1])]) {
            return WordBegins;
        }
    }
    return Elsewhere;
}

std::vector<size_t> SearchIndex::Find(std::string_view query,
                                      const std::vector<size_t>& recent) const {
    const std::string phrase = Folded(TrimBlanks(query));
    const std::vector<std::string> words = Words(phrase);
    std::vector<uint8_t> menuHasWord(menusFolded_.size() * words.size());
    for (size_t m = 0; m < menusFolded_.size(); ++m) {
        for (size_t w = 0; w < words.size(); ++w) {
            menuHasWord[m * words.size() + w] = menusFolded_[m].find(words[w]) != std::string::npos;
        }
    }

    std::vector<size_t> recentShown;
    for (const size_t r : recent) {
        if (r < size() &&
            std::find(recentShown.begin(), recentShown.end(), r) == recentShown.end()) {
            recentShown.push_back(r);
        }
    }
    std::vector<size_t> recentSorted = recentShown;
    std::sort(recentSorted.begin(), recentSorted.end());

    std::array<std::vector<size_t>, NoMatch> byRank;
    auto nextRecent = recentSorted.begin();
    for (size_t i = 0; i < size(); ++i) {
        if (nextRecent != recentSorted.end() && *nextRecent == i) {
            ++nextRecent;
            continue;
        }
        const Rank rank = RankOf(i, phrase, words, menuHasWord);
        if (rank != NoMatch) {
            byRank[rank].push_back(i);
        }
    }

    std::vector<size_t> found;
    for (int rank = Begins; rank < NoMatch; ++rank) {
        for (const size_t r : recentShown) {
            if (RankOf(r, phrase, words, menuHasWord) == rank) {
                found.push_back(r);
            }
        }
        found.insert(found.end(), byRank[rank].begin(), byRank[rank].end());
    }
    return found;
}

std::vector<SearchEntry> SearchEntriesOf(const SessionCatalogue& catalogue) {
    std::vector<SearchEntry> entries;
    entries.reserve(catalogue.allSessions.size());
    for (const std::string& key : catalogue.allSessions) {
        const auto menu = catalogue.menuOfSession.find(key);
        entries.push_back(
            {SessionDisplayName(key), menu == catalogue.menuOfSession.end() ? "" : menu->second});
    }
    return entries;
}

std::vector<size_t> SessionIndices(const std::vector<std::string>& allSessions,
                                   const std::vector<std::string>& keyNames) {
    std::unordered_map<std::string_view, size_t> indexOf;
    indexOf.reserve(allSessions.size());
    for (size_t i = 0; i < allSessions.size(); ++i) {
        indexOf.try_emplace(allSessions[i], i);
    }
    std::vector<size_t> indices;
    for (const std::string& key : keyNames) {
        if (const auto it = indexOf.find(key); it != indexOf.end()) {
            indices.push_back(it->second);
        }
    }
    return indices;
}

} // namespace quarnel
