// Reading what the stand-in putty.exe (tools/testkit/fake_putty) recorded.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace quarnel::test {

// How the stand-in was started once.
struct FakePuttyStart {
    std::vector<std::wstring> arguments; // CommandLineToArgvW of it, the program first
    std::wstring currentDirectory;       // GetCurrentDirectoryW at its start
    // The bytes it read from the file after -pwfile ("<unreadable>" when it could not
    // open it); nothing when it was given none or left it unread.
    std::optional<std::string> passwordFile;
};

// The stand-in putty.exe of the build tree, as a Windows path: one whose version reads
// 0.77, which takes -pwfile, and one of 0.76, which does not.
std::wstring FakePuttyPath();
std::wstring FakeOldPuttyPath();

// A fresh log for one test: while the object lives, QUARNEL_FAKE_PUTTY_LOG of this
// process (and so of every program it starts) names an empty file of its own.
class FakePuttyLog {
  public:
    FakePuttyLog();
    ~FakePuttyLog();
    FakePuttyLog(const FakePuttyLog&) = delete;
    FakePuttyLog& operator=(const FakePuttyLog&) = delete;

    // Every complete record so far, oldest first.
    std::vector<FakePuttyStart> Read() const;
    // Waits until at least `count` records are there (a failed assertion when ten seconds
    // pass first) and returns what is there then.
    std::vector<FakePuttyStart> WaitFor(size_t count) const;

  private:
    std::wstring path_;
};

} // namespace quarnel::test
