// The configuration window opened inside the test process, with PuTTY sessions seeded
// under the real sessions key, and a helper thread that answers the program's dialogs.
#pragma once

#include "app/settings.h"
#include "sessions/catalogue.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace quarnel::test {

// A dialog (message box or file requester) as the user saw it.
struct ShownDialog {
    std::string title;
    std::string text;    // the static texts, joined
    std::string buttons; // of OK, Cancel, Yes, No: those shown, e.g. "YesNo"
    bool operator==(const ShownDialog&) const = default;
};
void PrintTo(const ShownDialog& dialog, std::ostream* out);

// Answers every dialog of this process as it shows up: with the next planned answer,
// else with OK (or No, or by closing it), and records what it saw.
class DialogAnswerer {
  public:
    using Answer = std::function<void(HWND dialog)>;
    static Answer Press(int buttonId);
    static Answer Close();

    DialogAnswerer();
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    void Plan(Answer answer);
    // What was shown since the last call.
    std::vector<ShownDialog> TakeShown();

  private:
    void Run();
    void Handle(HWND dialog);

    std::mutex mutex_;
    std::deque<Answer> planned_;
    std::vector<ShownDialog> shown_;
    std::set<HWND> answered_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A registry key that nobody may write while this lives; its rights come back after.
class ReadOnlyKey {
  public:
    ReadOnlyKey(HKEY root, const std::wstring& subKey);
    ~ReadOnlyKey();
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;

  private:
    HKEY key_ = nullptr;
    std::vector<BYTE> savedDacl_;
};

struct SeededSession {
    std::string keyName;
    std::string menu; // empty: no menu value
};

class ConfigWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Session keys with a HostName value each (and their menu value), listed in the
    // catalogue in the given order.
    void SeedSessions(const std::vector<SeededSession>& sessions);
    HWND Open(); // OpenConfigWindow, asserting that the window is there
    HWND Window() const;
    HWND Gadget(int number) const;
    std::string Text(int number) const;
    bool Checked(int number) const;
    std::vector<std::string> Entries(int combo) const;
    int Selection(int combo) const;

    // What the user does: each sends what Windows sends for the real action.
    void Click(int button);
    void Pick(int combo, int index);
    void TypeChars(int field, const std::string& text); // WM_CHAR one by one
    void Enter(int field, const std::string& text);     // the whole text at once

    // A text file and a folder in a scratch folder of the file system.
    std::string ScratchFile(const std::string& name);
    std::string ScratchFolder() const { return scratchFolder_; }

    std::string Stored(const std::string& key, const std::string& valueName) const;
    bool Has(const std::string& key, const std::string& valueName) const;

    DialogAnswerer dialogs;
    std::vector<std::string> seededKeys_;
    std::string scratchFolder_;
};

} // namespace quarnel::test
