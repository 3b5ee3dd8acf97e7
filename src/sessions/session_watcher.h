// Follows PuTTY's saved sessions while the program runs.
#pragma once

#include "registry/registry_watch.h"
#include "sessions/catalogue.h"
#include "win/handles.h"

#include <windows.h>

#include <mutex>
#include <atomic>
#include <optional>
#include <thread>

namespace quarnel {

// A thread of its own waits on the sessions key. When a burst of changes has settled
// (PuTTY saves a session value by value) it lists the sessions again, reading only the
// menus of the keys written since, and when the catalogue differs it keeps the new one
// for TakeUpdate and posts `message` to `window`. A key that cannot be watched leaves the
// catalogue as it is.
class SessionWatcher {
  public:
    // `known` is the catalogue read at start-up, with its write times.
    SessionWatcher(SessionCatalogue known, HWND window, UINT message);
    // Stops the thread at once, whatever it waits for or lists.
    ~SessionWatcher();
    SessionWatcher(const SessionWatcher&) = delete;
    SessionWatcher& operator=(const SessionWatcher&) = delete;

    // The newest catalogue not taken yet; nothing when none came since the last call.
    std::optional<SessionCatalogue> TakeUpdate();

  private:
    void Run();
    void ReadAgain();

    SessionCatalogue known_; // the worker's alone
    const HWND window_;
    const UINT message_;
    std::atomic<bool> stopping_ = false; // ends a listing under way
    const UniqueHandle stop_;            // ends a wait
    RegistryWatch watch_; // set before the constructor returns, then the worker's alone
    std::mutex mutex_;
    std::optional<SessionCatalogue> update_; // under mutex_
    std::thread worker_;                     // last: it starts once the rest is made
};

} // namespace quarnel
