// Bringing the catalogue up to date from a new listing of the sessions key.
#include "sessions/catalogue_update.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quarnel {
namespace {

using Keys = std::vector<std::string>;

// A listing written "key=menu@time ...", without "=" for a session without a menu; the
// menu "?" cannot be read.
std::vector<ListedSession> Listing(const std::string& text) {
    std::vector<ListedSession> listed;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        const size_t is = word.find('='), at = word.find('@');
        listed.push_back({word.substr(0, std::min(is, at)), std::stoull(word.substr(at + 1)),
                          is < at ? word.substr(is + 1, at - is - 1) : ""});
    }
    return listed;
}

TEST(CatalogueOfListing, ReadsOnlyWhatWasWrittenAndTellsWhatChanged) {
    const struct {
        const char *known, *fresh;
        Keys read, after, added, removed;
        bool menusChanged;
    } cases[] = {
        {"a=S@1", "b@5 a=S@1", {"b"}, {"a=S", "b"}, {"b"}, {}, false},            // added
        {"a=S@1 b=T@2", "a=S@1", {}, {"a=S"}, {}, {"b"}, true},                   // removed
        {"a=S@1 b=T@2", "a=T@3 b=S@4", {"a", "b"}, {"a=T", "b=S"}, {}, {}, true}, // swapped
        // the last session's menu changed, and no menu name came or went
        {"a=S@1 b=T@2 c=T@3", "a=S@1 b=T@2 c=S@4", {"c"}, {"a=S", "b=T", "c=S"}, {}, {}, true},
        {"a=S@1", "a=S@1 a=S@1", {}, {"a=S"}, {}, {}, false}, // listed twice
        {"a=S@1", "a=?@2", {"a"}, {"a=S"}, {}, {}, false},    // unreadable
        {"", "a=?@2", {"a"}, {"a"}, {"a"}, {}, false},        // new and unreadable
        {"", "a=S@0", {"a"}, {"a=S"}, {"a"}, {}, true},       // a time not to rely on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.known) + " -> " + c.fresh);
        const SessionCatalogue known = CatalogueOfListing({}, Listing(c.known));
        std::vector<ListedSession> listed = Listing(c.fresh);
        Keys read;
        for (ListedSession& session : listed) {
            const bool needed = MenuNeedsReading(known, session.key, session.writeTime);
            if (needed) {
                read.push_back(session.key);
            }
            if (!needed || session.menu == "?") {
                session.menu.reset();
            }
        }
        const SessionCatalogue after = CatalogueOfListing(known, listed);
        Keys shown;
        for (const std::string& key : after.allSessions) {
            const auto menu = after.menuOfSession.find(key);
            shown.push_back(key + (menu == after.menuOfSession.end() ? "" : "=" + menu->second));
        }
        const CatalogueChange change = CompareCatalogues(known, after);
        EXPECT_EQ(read, c.read);
        EXPECT_EQ(shown, c.after);
        EXPECT_EQ(change.added, c.added);
        EXPECT_EQ(change.removed, c.removed);
        EXPECT_EQ(change.menusChanged, c.menusChanged);
        // Only an unreadable menu or a time not to rely on is read again next time.
        for (const ListedSession& session : Listing(c.fresh)) {
            EXPECT_EQ(MenuNeedsReading(after, session.key, session.writeTime),
                      session.menu == "?" || session.writeTime == 0);
        }
    }
}

} // namespace
} // namespace quarnel
