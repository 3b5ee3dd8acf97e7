// What a test in the program's own process needs around message boxes and the Run keys.
#pragma once

#include "testkit/window_text.h"
#include "win/handles.h"

#include <windows.h>

#include <dlgs.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quarnel::test {

// Answers the dialogs of this thread as they open, as the user would: a message box with
// the planned answer, else OK or No; any other dialog (the file requester) by picking the
// planned file, else by cancelling.
// Keeps "title|text|buttons" of each message box, "title|dialog" of the others.
class Boxes {
  public:
    Boxes() : hook_(SetWindowsHookExW(WH_CALLWNDPROCRET, Opened, nullptr, GetCurrentThreadId())) {}
    ~Boxes() { UnhookWindowsHookEx(hook_); }
    static void Plan(int answer) { planned_ = answer; }
    static void PlanFile(std::wstring file) { file_ = std::move(file); }
    // Runs inside the next dialog's modal loop, before it is answered.
    static void WhileOpen(std::function<void()> probe) { probe_ = std::move(probe); }
    // What to type into the master password prompts that open next, one text each time
    // it asks; "\x1b" presses Esc; nullptr, and a prompt with nothing planned, close it. Each is
    // kept as "prompt|<its question>", after a refusal with "|<what it says of it><the field>".
    static void AnswerPrompts(std::vector<const char*> answers) { answers_ = std::move(answers); }
    static Texts Take() { return std::exchange(seen_, {}); }

  private:
    // Runs in the prompt's own loop as soon as it waits for the user.
    static void CALLBACK Type(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        if (!IsWindow(prompt_)) {
            return;
        }
        // What it shows when it asks: its question, and after a refusal what it says of it
        // and what is left in the field.
        const std::string refusal =
            TextOf(GetDlgItem(prompt_, 44)) + TextOf(GetDlgItem(prompt_, 34));
        seen_.push_back("prompt|" + TextOf(GetDlgItem(prompt_, 33)) +
                        (refusal.empty() ? "" : "|" + refusal));
        const char* answer = answers_.empty() ? nullptr : answers_.front();
        if (!answers_.empty()) {
            answers_.erase(answers_.begin());
        }
        if (answer == nullptr) {
            PostMessageW(prompt_, WM_CLOSE, 0, 0);
            return;
        }
        if (answer == std::string("\x1b")) { // Esc, which must leave it asking
            PostMessageW(GetDlgItem(prompt_, 34), WM_KEYDOWN, VK_ESCAPE, 1);
            SetTimer(nullptr, 0, 0, Type);
            return;
        }
        SetWindowTextW(GetDlgItem(prompt_, 34), Widen(answer).c_str());
        SetFocus(GetDlgItem(prompt_, 35)); // as a click on OK moves it
        SendMessageW(GetDlgItem(prompt_, 35), BM_CLICK, 0, 0);
        if (IsWindow(prompt_) && IsWindowVisible(prompt_)) {
            const HWND field = GetDlgItem(prompt_, 34); // emptied: refused, typed again at once
            EXPECT_TRUE(GetWindowTextLengthW(field) > 0 || GetFocus() == field);
            SetTimer(nullptr, 0, 0, Type); // refused: it asks again
        }
    }
    static LRESULT CALLBACK Opened(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        wchar_t name[32] = {};
        if (code == HC_ACTION && call->message == WM_CREATE &&
            GetClassNameW(call->hwnd, name, 32) && std::wstring(name) == L"QuarnelPasswordPrompt") {
            prompt_ = call->hwnd;
            SetTimer(nullptr, 0, 0, Type);
        }
        if (code == HC_ACTION && call->message == WM_INITDIALOG) {
            const HWND box = call->hwnd;
            const HWND message = GetDlgItem(box, 0xFFFF); // a message box's text
            const bool yesNo = GetDlgItem(box, IDYES) != nullptr;
            seen_.push_back(TextOf(box) + "|" +
                            (message ? TextOf(message) + (yesNo ? "|YesNo" : "|OK") : "dialog"));
            if (probe_) {
                std::exchange(probe_, nullptr)();
            }
            int answer = std::exchange(planned_, 0);
            if (!message && !file_.empty()) { // its file name field, then Open
                SetDlgItemTextW(box, cmb13, file_.c_str());
                file_.clear();
                answer = IDOK;
            }
            PostMessageW(box, WM_COMMAND,
                         WPARAM(answer     ? answer
                                : !message ? IDCANCEL
                                : yesNo    ? IDNO
                                           : IDOK),
                         0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook_;
    static inline int planned_ = 0;
    static inline std::wstring file_;
    static inline std::function<void()> probe_;
    static inline std::vector<const char*> answers_;
    static inline HWND prompt_ = nullptr;
    static inline Texts seen_;
};

// A key (a Run key by default) that nobody may change while this lives.
class RefusedRunKey {
  public:
    RefusedRunKey(HKEY root, bool refused,
                  const wchar_t* subKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run") {
        HKEY key = nullptr;
        if (!refused ||
            RegOpenKeyExW(root, subKey, 0, READ_CONTROL | WRITE_DAC, &key) != ERROR_SUCCESS) {
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
