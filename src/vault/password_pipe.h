// Hands one password to one started PuTTY through a named pipe that PuTTY reads as the
// file after -pwfile, so the password never stands on a command line. The pipes are
// served by a thread of their own: a password reaches its PuTTY while the program shows
// a message box, runs a menu, or has already closed its windows to end.
#pragma once

#include "win/handles.h"

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quarnel {

class PasswordCourier {
  public:
    // A pipe that has not served its PuTTY after `lifetime` goes: PuTTY reads its
    // password file at start-up or not at all.
    explicit PasswordCourier(std::chrono::milliseconds lifetime = std::chrono::seconds(30));
    // Waits as Drain does, then ends the thread.
    ~PasswordCourier();
    PasswordCourier(const PasswordCourier&) = delete;
    PasswordCourier& operator=(const PasswordCourier&) = delete;

    // Makes a listening pipe for one password (the bytes exactly as they are to reach
    // PuTTY) of a name no other program can guess, open to the current user only, from
    // this computer only; its \\.\pipe\... path, or nothing when it cannot be made or
    // 31 are pending already. The password is wiped from the argument either way. A
    // client that connects before Serve or Withdraw is held until it is known who it
    // must be.
    std::optional<std::wstring> Prepare(std::string password);
    // The started process that alone gets the password; the pipe ends with it.
    void Serve(const std::wstring& path, UniqueHandle process, DWORD processId);
    // The start failed: the pipe is gone and its password wiped when this returns.
    void Withdraw(const std::wstring& path);
    // Blocks until every pipe has served its PuTTY, that PuTTY has ended, or its time
    // is up.
    void Drain();

  private:
    struct Pipe;
    void Run();
    void Step(Pipe& pipe);

    const std::chrono::milliseconds lifetime_;
    std::mutex mutex_;
    std::condition_variable gone_; // a pipe has gone
    std::vector<std::unique_ptr<Pipe>> pipes_;
    bool ending_ = false;
    UniqueHandle wake_; // the pipes have changed: the thread looks again
    std::thread thread_;
};

} // namespace quarnel
