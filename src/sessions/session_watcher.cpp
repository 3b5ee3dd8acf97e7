#include "sessions/session_watcher.h"

#include "sessions/catalogue_update.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace quarnel {

namespace {

// A burst is over after this long without a change, yet read no later than this after
// its first change, so that a change shows within a second even while others go on.
constexpr DWORD kQuietMs = 200;
constexpr auto kLongestBurst = std::chrono::milliseconds(800);

} // namespace

SessionWatcher::SessionWatcher(SessionCatalogue known, HWND window, UINT message)
    : known_(std::move(known)), window_(window), message_(message),
      stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), watch_(SessionsKey) {
    if (stop_) {
        worker_ = std::thread(&SessionWatcher::Run, this);
    }
}

SessionWatcher::~SessionWatcher() {
    if (worker_.joinable()) {
        stopping_ = true;
        SetEvent(stop_.get());
        worker_.join();
    }
}

std::optional<SessionCatalogue> SessionWatcher::TakeUpdate() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(update_, std::nullopt);
}

void SessionWatcher::Run() {
    using Clock = std::chrono::steady_clock;
    ReadAgain(); // what changed between start-up's reading and the watch being set
    while (watch_.Wait(stop_.get(), INFINITE) == RegistryWatch::Result::Changed) {
        const auto latest = Clock::now() + kLongestBurst;
        for (auto left = kLongestBurst; left.count() > 0;
             left = std::chrono::duration_cast<std::chrono::milliseconds>(latest - Clock::now())) {
            const RegistryWatch::Result result = watch_.Wait(
                stop_.get(), std::min<DWORD>(kQuietMs, static_cast<DWORD>(left.count())));
            if (result == RegistryWatch::Result::Stopped) {
                return;
            }
            if (result == RegistryWatch::Result::TimedOut) {
                break;
            }
        }
        ReadAgain();
    }
}

void SessionWatcher::ReadAgain() {
    bool whole = true;
    SessionCatalogue next =
        ReadSessionCatalogue(known_, whole, [this] { return stopping_.load(); });
    // A listing the sessions moved under is not handed on: the watch saw them move, so
    // another one follows.
    if (!whole) {
        return;
    }
    const bool changed = CompareCatalogues(known_, next).Any();
    known_ = std::move(next);
    if (changed) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            update_ = known_;
        }
        PostMessageW(window_, message_, 0, 0);
    }
}

} // namespace quarnel
