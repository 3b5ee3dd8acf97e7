// What a test in the program's own process needs around message boxes and the Run keys.
#pragma once

#include "testkit/ui_driver.h"
#include "win/handles.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <sddl.h>

#include <string>
#include <utility>
#include <vector>

namespace quarnel::test {

using Texts = std::vector<std::string>;

// Answers the message boxes of this thread as they open, as the user would: with the
// planned answer, else OK or No. Keeps "title|text|buttons" of each.
class Boxes {
  public:
    Boxes() : hook_(SetWindowsHookExW(WH_CALLWNDPROCRET, Opened, nullptr, GetCurrentThreadId())) {}
    ~Boxes() { UnhookWindowsHookEx(hook_); }
    static void Plan(int answer) { planned_ = answer; }
    static Texts Take() { return std::exchange(seen_, {}); }

  private:
    static LRESULT CALLBACK Opened(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_INITDIALOG) {
            const Window box(call->hwnd);
            const bool yesNo = GetDlgItem(box.Handle(), IDYES) != nullptr;
            seen_.push_back(box.Text() + "|" + box.MessageText() + (yesNo ? "|YesNo" : "|OK"));
            const int answer = std::exchange(planned_, 0);
            box.Post(WM_COMMAND, WPARAM(answer ? answer : yesNo ? IDNO : IDOK), 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook_;
    static inline int planned_ = 0;
    static inline Texts seen_;
};

// One Run key (the machine's or the user's) that nobody may change while this lives.
class RefusedRunKey {
  public:
    RefusedRunKey(HKEY root, bool refused) {
        HKEY key = nullptr;
        if (!refused || RegOpenKeyExW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                                      READ_CONTROL | WRITE_DAC, &key) != ERROR_SUCCESS) {
            return;
        }
        key_.reset(key);
        DWORD size = sizeof saved_;
        RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, saved_, &size);
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                             &readOnly, nullptr);
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
        LocalFree(readOnly);
    }
    ~RefusedRunKey() {
        if (key_) {
            RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, saved_);
        }
    }

  private:
    UniqueKey key_;
    alignas(void*) BYTE saved_[4096];
};

} // namespace quarnel::test
