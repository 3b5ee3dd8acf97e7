// Hands one password to one started PuTTY through a named pipe that PuTTY reads as the
// file after -pwfile, so the password never stands on a command line. The pipe is served
// by the program's one event loop: it waits for the pipe's handles beside its messages
// and calls Step when one is signalled or the deadline has come.
#pragma once

#include "win/handles.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace quarnel {

class PasswordPipe {
  public:
    // A pipe of a name no other program can guess, open to the current user only, from
    // this computer only. Null when it cannot be made.
    static std::unique_ptr<PasswordPipe> Create(std::string password);
    ~PasswordPipe();
    PasswordPipe(const PasswordPipe&) = delete;
    PasswordPipe& operator=(const PasswordPipe&) = delete;

    // \\.\pipe\... as PuTTY is to open it.
    const std::string& Path() const { return path_; }
    // The started process that alone gets the password; the pipe ends with it.
    void ServeTo(UniqueHandle process, DWORD processId);

    std::vector<HANDLE> WaitHandles() const;
    // Serves a client that has connected, ends the pipe when its process ended or its
    // time is up.
    void Step();
    bool Finished() const { return !pipe_; }
    ULONGLONG Deadline() const { return deadline_; }

    // Only Create makes pipes.
    class Made {
        friend class PasswordPipe;
        Made() = default;
    };
    explicit PasswordPipe(Made) {}

  private:
    bool Listen();
    void Finish();

    std::string password_;
    std::string path_;
    UniqueHandle pipe_;
    UniqueHandle connected_; // the event of the pending connection
    OVERLAPPED connection_{};
    UniqueHandle process_;
    DWORD processId_ = 0;
    ULONGLONG deadline_ = 0;
};

// The pipes of the starts that are under way, several when starts follow each other.
class PasswordPipes {
  public:
    void Add(std::unique_ptr<PasswordPipe> pipe);
    std::vector<HANDLE> WaitHandles() const;
    void Step();
    // Until the next deadline; INFINITE without pipes.
    DWORD MillisecondsToNextDeadline() const;
    size_t Count() const { return pipes_.size(); }

  private:
    std::vector<std::unique_ptr<PasswordPipe>> pipes_;
};

} // namespace quarnel
