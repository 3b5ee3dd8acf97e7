// Waiting for changes below a key of the local registry, on a thread of its own. Nothing
// here writes to the registry.
#pragma once

#include "registry/registry_key.h"
#include "win/handles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace quarnel {

// Follows a key's values, its subkeys and theirs. The key need not exist: while it is
// missing, and after it was deleted, the watch is on its nearest existing ancestor until
// the key is there again. One thread may make it and another wait on it, one at a time.
class RegistryWatch {
  public:
    explicit RegistryWatch(const std::string& path);

    enum class Result { Changed, Stopped, TimedOut };
    // Until something may have changed below the key (the key coming or going included),
    // `stop` is set or the time is up. The watch is set again before Wait reports a
    // change, so nothing after it is missed. What could not be watched is never reported:
    // a watch that cannot be set at all waits for `stop` and the time alone.
    Result Wait(HANDLE stop, DWORD milliseconds);

  private:
    struct Level {
        RegistryKey key;
        UniqueHandle changed;
    };
    void Arm();
    bool Notify(const Level& level) const;
    bool IsTheKey(size_t depth) const { return depth == components_.size(); }

    std::string rootPath_;
    std::vector<std::wstring> components_; // the subkeys from the root down to the key
    // From the root down, each with its notification set: above the key, for its subkeys
    // coming and going; the key itself, for everything below it.
    std::vector<Level> levels_;
};

} // namespace quarnel
