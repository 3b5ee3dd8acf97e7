#include "registry/registry_watch.h"

#include "registry/registry_path.h"
#include "win/text.h"

#include <string_view>

namespace quarnel {

RegistryWatch::RegistryWatch(const std::string& path) {
    const RegistryPath split = SplitRegistryPath(path);
    rootPath_ = std::string(path.substr(0, path.find('\\'))) + "\\";
    std::string_view rest = split.subKey;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find('\\'), rest.size());
        if (end > 0) {
            components_.push_back(Widen(rest.substr(0, end)));
        }
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    if (split.root != RegistryRoot::None) {
        Arm();
    }
}

bool RegistryWatch::Notify(const Level& level) const {
    const bool key = IsTheKey(&level - levels_.data());
    // Set on one thread and waited for on another, so not ended with the thread that set it.
    const DWORD filter = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_THREAD_AGNOSTIC |
                         (key ? REG_NOTIFY_CHANGE_LAST_SET : 0);
    CountRegistryCall();
    return RegNotifyChangeKeyValue(level.key.Get(), key, filter, level.changed.get(), TRUE) ==
           ERROR_SUCCESS;
}

// Each level is watched before the next one is opened, so a subkey that comes or goes
// after it was looked for is reported by its parent. The registry reports no key's own
// deletion to the key: its parent does.
void RegistryWatch::Arm() {
    levels_.clear();
    RegistryKey key(rootPath_, ".", RegistryKey::Access::Look);
    // One wait slot stays for the caller's stop event.
    while (key && levels_.size() + 1 < MAXIMUM_WAIT_OBJECTS) {
        levels_.push_back(
            {std::move(key), UniqueHandle(CreateEventW(nullptr, FALSE, FALSE, nullptr))});
        if (!levels_.back().changed || !Notify(levels_.back())) {
            levels_.pop_back(); // nothing below what cannot be watched is followed
            return;
        }
        if (IsTheKey(levels_.size() - 1)) {
            return;
        }
        key = levels_.back().key.OpenSubKey(components_[levels_.size() - 1]);
    }
}

RegistryWatch::Result RegistryWatch::Wait(HANDLE stop, DWORD milliseconds) {
    HANDLE handles[MAXIMUM_WAIT_OBJECTS] = {stop};
    for (size_t i = 0; i < levels_.size(); ++i) {
        handles[i + 1] = levels_[i].changed.get();
    }
    const DWORD woken = WaitForMultipleObjects(static_cast<DWORD>(levels_.size() + 1), handles,
                                               FALSE, milliseconds);
    if (woken == WAIT_OBJECT_0) {
        return Result::Stopped;
    }
    if (woken == WAIT_TIMEOUT) {
        return Result::TimedOut;
    }
    const size_t depth = woken - WAIT_OBJECT_0 - 1;
    if (depth >= levels_.size()) { // the wait itself failed: stop watching rather than spin
        levels_.clear();
        return WaitForSingleObject(stop, milliseconds) == WAIT_OBJECT_0 ? Result::Stopped
                                                                        : Result::TimedOut;
    }
    // A change below the key needs only its notification again; a subkey coming or going
    // above it may have replaced the key or what leads to it.
    if (!IsTheKey(depth) || !Notify(levels_[depth])) {
        Arm();
    }
    return Result::Changed;
}

} // namespace quarnel
