#include "testkit/e2e_driver.h"

#include "testkit/quarnel_setup.h"
#include "win/text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace quarnel::test {

// Generous: a loaded machine may take seconds to start a program under Wine, and a
// condition that holds returns at once.
bool Await(const std::function<bool()>& condition, const std::string& what) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            ADD_FAILURE() << "timed out waiting for " << what;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

Program::Program() {
    std::wstring command = L"\"" + BuildDir() + L"\\quarnel.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
        CloseHandle(info.hThread);
        process_.reset(info.hProcess);
        id_ = info.dwProcessId;
    }
    EXPECT_NE(id_, 0u) << "the program did not start";
}

Program::Program(DWORD processId)
    : process_(OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId)), id_(processId) {}

Program::~Program() {
    if (Running()) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

bool Program::Running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

DWORD Program::WaitForExit() const {
    DWORD code = ~0u;
    if (Await([&] { return !Running(); }, "the program to end")) {
        GetExitCodeProcess(process_.get(), &code);
    }
    return code;
}

HWND Program::WaitForWindow(const std::string& titlePrefix, const wchar_t* className) const {
    HWND found = nullptr;
    Await([&] { return (found = FindTopWindow(id_, titlePrefix, true, className)) != nullptr; },
          "a window \"" + titlePrefix + "\"");
    // Shown, and its program waiting for the user: every step before has been done.
    WaitForInputIdle(process_.get(), 10000);
    return found;
}

void PostClick(HWND window, int gadget) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(gadget, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, gadget)));
}

void PostCommand(HWND window, int item) {
    PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(item), 0);
}

void Answer(HWND box, int button) {
    PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> input;
    for (const WORD key : keys) {
        input.push_back({INPUT_KEYBOARD, {}});
        input.back().ki.wVk = key;
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        input.push_back({INPUT_KEYBOARD, {}});
        input.back().ki.wVk = *key;
        input.back().ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

} // namespace quarnel::test
