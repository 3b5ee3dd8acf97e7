// The program run inside the test's own process: start-up as the program makes it, the
// shell with its real windows and its real event loop, driven by messages the way the
// system delivers the user's actions.
#pragma once

#include "app/run_state.h"
#include "app/shell.h"
#include "app/startup.h"
#include "app/tray.h"
#include "testkit/fake_putty_log.h"
#include "testkit/message_boxes.h"
#include "testkit/quarnel_setup.h"
#include "win/text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace quarnel::test {

// A top-level window of this process whose title begins so; null when none.
inline HWND FindProgramWindow(const std::string& titlePrefix, bool visibleOnly = true) {
    return FindTopWindow(GetCurrentProcessId(), titlePrefix, visibleOnly);
}

// A menu as text: one line per item, "text [number]", "---" for a separator, a submenu's
// items indented by two blanks below its title.
inline std::string MenuText(HMENU menu, const std::string& indent = "") {
    std::string out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[512] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 512, MF_BYPOSITION);
        if (const HMENU sub = GetSubMenu(menu, i)) {
            out += indent + Narrow(text) + "\n" + MenuText(sub, indent + "  ");
        } else if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) {
            out += indent + "---\n";
        } else {
            out += indent + Narrow(text) + " [" + std::to_string(GetMenuItemID(menu, i)) + "]\n";
        }
    }
    return out;
}

// Watches for a popup menu of this thread: when one is up and idle, its content and its
// place on the screen are kept and it is closed again, so nothing waits for a user.
class PopupWatch {
  public:
    PopupWatch() : hook_(SetWindowsHookExW(WH_CALLWNDPROC, Sent, nullptr, GetCurrentThreadId())) {
        current_ = this;
    }
    ~PopupWatch() {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    PopupWatch(const PopupWatch&) = delete;
    PopupWatch& operator=(const PopupWatch&) = delete;

    int shown = 0;
    std::string content; // of the last one, as MenuText
    RECT place{};
    std::function<void()> whileOpen; // runs inside the menu's loop before it is closed

  private:
    static LRESULT CALLBACK Sent(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU &&
            current_ != nullptr) {
            const HWND menuWindow = FindTopWindow(GetCurrentProcessId(), "", true, L"#32768");
            PopupWatch& self = *current_;
            ++self.shown;
            self.content =
                MenuText(reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0)));
            GetWindowRect(menuWindow, &self.place);
            if (self.whileOpen) {
                std::exchange(self.whileOpen, nullptr)();
            }
            EndMenu();
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook_;
    static inline PopupWatch* current_ = nullptr;
};

class ProgramTest : public ::testing::Test {
  protected:
    void TearDown() override {
        shell_.reset();
        state_.reset();
        EXPECT_EQ(Boxes::Take(), Texts{}) << "boxes nobody looked at";
    }

    // Start-up as the program makes it, then the shell's windows.
    void Start() {
        shell_.reset();
        running_ = true;
        state_ = std::make_unique<RunState>(GetModuleHandleW(nullptr));
        const bool firstRun = PrepareRun(*state_);
        shell_ = std::make_unique<Shell>(*state_);
        shell_->Open(firstRun);
        Pump();
    }

    // Handles what has come so far; false once the program has ended.
    bool Pump() {
        MSG message;
        while (running_ && PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            running_ = shell_->PumpOnce(0);
        }
        return running_;
    }
    void PumpUntil(const std::function<bool()>& condition, const std::string& what) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!condition()) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "waiting for " << what;
            running_ = running_ && shell_->PumpOnce(20);
        }
    }

    HWND Main() const { return FindProgramWindow("Quarnel V. 0.53", false); }
    // A menu item or shortcut of the main window, as the system reports the user's pick.
    void Choose(int item) {
        SendMessageW(Main(), WM_COMMAND, static_cast<WPARAM>(item), 0);
        Pump();
    }
    void Click(HWND window, int gadget) {
        SendMessageW(GetDlgItem(window, gadget), BM_CLICK, 0, 0);
        Pump();
    }
    // An event of the tray icon as today's shell reports it: the event and the icon's
    // number, with the point it happened at.
    void Tray(UINT event, POINT at = {400, 300}) {
        SendMessageW(Main(), kTrayCallbackMessage, MAKEWPARAM(at.x, at.y),
                     MAKELPARAM(event, kTrayIconId));
        Pump();
    }
    // A key pressed and released at the control that has the focus, through the loop.
    void Key(UINT virtualKey) {
        const HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, virtualKey, 1);
        PostMessageW(focus, WM_KEYUP, virtualKey, 0xC0000001);
        Pump();
    }

    QuarnelSetup setup_; // first: it resets the registry after everything else has gone
    FakePuttyLog putty_;
    Boxes boxes_;
    std::unique_ptr<RunState> state_;
    std::unique_ptr<Shell> shell_;
    bool running_ = true;
};

} // namespace quarnel::test
