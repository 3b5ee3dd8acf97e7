// The session watcher following Wine's registry while a window's thread takes its updates.
#include "sessions/session_watcher.h"

#include "registry/registry.h"
#include "testkit/quarnel_setup.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

constexpr UINT kUpdated = WM_APP + 5;
using Keys = std::vector<std::string>;

class SessionWatcherTest : public ::testing::Test {
  protected:
    test::QuarnelSetup setup;
    UniqueWindow window{CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        nullptr, nullptr)};
    int updates = 0; // update messages seen

    // Takes the updates the window's messages announce until one lists the sessions as
    // " key key=menu ... ", or one holds `session` so.
    void WaitFor(SessionWatcher& watcher, const std::string& session) {
        for (const ULONGLONG end = GetTickCount64() + 10000; GetTickCount64() < end;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
                const auto update =
                    msg.message == kUpdated && ++updates ? watcher.TakeUpdate() : std::nullopt;
                std::string shown = " ";
                for (const std::string& key : update ? update->allSessions : Keys()) {
                    const auto menu = update->menuOfSession.find(key);
                    shown += key + (menu != update->menuOfSession.end() ? "=" + menu->second : "");
                    shown += " ";
                }
                if (update && (shown == session || shown.find(" " + session + " ") != shown.npos)) {
                    return;
                }
            }
        }
        ADD_FAILURE() << "no update shows " << session;
    }
};

TEST_F(SessionWatcherTest, EachChangeArrivesOnceAndOnlyChangedSessionsAreRead) {
    constexpr unsigned kSessions = 40;
    for (unsigned i = 0; i < kSessions; ++i) {
        setup.Session("s" + std::to_string(i), "Menu");
    }
    const SessionCatalogue known = LoadSessionCatalogue();
    setup.Session("new"); // before the watch is set: its first reading finds it
    SessionWatcher watcher(known, window.get(), kUpdated);
    WaitFor(watcher, "new");
    // PuTTY saves a session value by value; its menu changes within the burst.
    for (int i = 0; i < 100; ++i) {
        RegistryWrite(SessionsKey + "new", i % 10 ? "V" + std::to_string(i) : MenuValueName,
                      "M" + std::to_string(i), kRegSz, ".");
    }
    WaitFor(watcher, "new=M90");
    const uint64_t before = RegistryPlatformCallCount();
    setup.Session("zz");
    WaitFor(watcher, "zz");
    EXPECT_EQ(updates, 3);
    // The sessions are listed and only the new one read: about one call a session.
    EXPECT_LT(RegistryPlatformCallCount() - before, 2 * kSessions);
}

TEST_F(SessionWatcherTest, FollowsTheSessionsKeyMissingAtStartDeletedAndMadeAgain) {
    test::DeleteTree("HKEY_CURRENT_USER\\Software\\SimonTatham");
    SessionWatcher watcher(LoadSessionCatalogue(), window.get(), kUpdated);
    setup.Session("a", "A"); // makes the keys above it too
    WaitFor(watcher, "a=A");
    test::RemovePuttySessions();
    WaitFor(watcher, " ");
    setup.Session("b");
    WaitFor(watcher, "b");
}

} // namespace
} // namespace quarnel
